// The one skeleton of the program's modal dialogs, and the helpers for their controls.
//
// Adding a dialog: name its template and controls in resources/resource.h, write the template
// in resources/dialogs.rc, then describe it here and run it:
//
//   const int Checks[] = {IDC_X_SOMETHING};           // plain BS_CHECKBOX: flipped on a click
//   void OnInit(HWND dialog) { SetCheck(dialog, IDC_X_SOMETHING, Settings.Something == 1); }
//   bool OnOk(HWND dialog) { StoreSetting(&SettingsRecord::Something, ...); return true; }
//   const win::DialogSpec Spec = {IDD_X, Checks, 1, OnInit, OnOk, nullptr};
//   win::RunModalDialog(owner, Spec);
//
// OK calls onOk and ends the dialog with IDOK when it returns true; Cancel, Escape and the
// close box end it with IDCANCEL unless onCommand takes IDCANCEL (returns true for it).
// onCommand sees every other command of the dialog (a combo box's CBN_SELCHANGE, for example);
// the lParam given to RunModalDialog is in DialogParameter.
#pragma once
#include <windows.h>

#include <cstdint>

namespace win {

struct DialogSpec {
    const char* templateName;
    const int* checkBoxes;  // flipped on BN_CLICKED
    int checkBoxCount;
    void (*onInit)(HWND dialog);                       // may be null
    bool (*onOk)(HWND dialog);                         // null: OK just ends the dialog
    bool (*onCommand)(HWND dialog, int id, int code);  // may be null; true when handled
};

// Runs the dialog over owner; returns IDOK, IDCANCEL, or -1 when it could not be shown.
INT_PTR RunModalDialog(HWND owner, const DialogSpec& spec, LPARAM parameter = 0);

// The parameter the running dialog was started with.
LPARAM DialogParameter(HWND dialog);

// Inserts the names at positions 0..count-1 and selects selection (an index outside the entries
// leaves the box without a selection).
void FillComboBox(HWND dialog, int id, const char* const* names, int count, int32_t selection);

// The chosen index; a box without a selection keeps the value it was opened with.
int32_t ComboSelection(HWND dialog, int id, int32_t openedWith);

bool IsChecked(HWND dialog, int id);
void SetCheck(HWND dialog, int id, bool checked);
void FlipCheck(HWND dialog, int id);

}  // namespace win
