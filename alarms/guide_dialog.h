#pragma once

#include <string>

#include "frame/dialog_base.h"

// The user's guide in a dialog of its own, for systems without the help
// engine's file: the text comes from the program's own resources.
class GuideDialog : public DialogBase {
public:
    GuideDialog();

    int Initialise() override;
    int OnCommand(ControlBinding* binding, LPARAM lparam) override;

    // The guide's text with CR LF line ends, or "" when the resource is missing.
    static std::string Text();
};
