#pragma once

// Identifiers of the test resources: the menu of "FrameTestWindow", the controls of
// "TESTDIALOG", a 16 x 15 bitmap and the 32 x 32 icon of "TOOLICON", both by number.
#define IDM_TEST_CLOSE 40001
#define IDC_TEST_CHECK 201
#define IDC_TEST_EDIT 202
#define IDC_TEST_LABEL 203
#define IDB_TOOL_SMALL 101
#define IDI_TOOL_NUMBERED 102
