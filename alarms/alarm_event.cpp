#include "alarms/alarm_event.h"

AlarmEvent::AlarmEvent() : m_enabled(0) {}

AlarmEvent::~AlarmEvent() = default;

void AlarmEvent::ResetEventTime() {}
