#include "frame/program_instance.h"

namespace {

HINSTANCE g_instance = nullptr;
HINSTANCE g_previous = nullptr;
UINT g_instance_query = 0;

}  // namespace

void RecordProgramInstance(HINSTANCE instance, HINSTANCE previous)
{
    g_instance = instance;
    g_previous = previous;
}

HINSTANCE ProgramInstance()
{
    return g_instance ? g_instance : GetModuleHandleA(nullptr);
}

HMODULE ProgramModule()
{
    return ProgramInstance();
}

HINSTANCE PreviousInstance()
{
    return g_previous;
}

void RecordInstanceQueryMessage(UINT message)
{
    g_instance_query = message;
}

UINT InstanceQueryMessage()
{
    return g_instance_query;
}
