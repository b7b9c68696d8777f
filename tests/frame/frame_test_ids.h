#pragma once

// Identifiers used only by the framework's test resources.

// Menu of the test windows named "FrameTestWindow".
#define IDM_TEST_CLOSE 40001

// Controls of the dialog template "TESTDIALOG".
#define IDC_TEST_CHECK 201
#define IDC_TEST_EDIT 202
#define IDC_TEST_LABEL 203
