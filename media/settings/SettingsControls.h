#pragma once
// Small helpers over the dialogs' standard controls by id.
#include "afxwin.h"

namespace settingsui {

HWND Item(CWnd* dlg, int id);
void ListReset(CWnd* dlg, int id);
// Appends text; the entry keeps data beside it. Gives the entry's position.
int ListAdd(CWnd* dlg, int id, const char* text, int data = 0);
int ListCount(CWnd* dlg, int id);
int ListSel(CWnd* dlg, int id);
void ListSetSel(CWnd* dlg, int id, int index);
int ListData(CWnd* dlg, int id, int index);
// Selects the entry whose data is value; false (nothing selected) when none has it.
bool ListSelectData(CWnd* dlg, int id, int value);
// The data of the selected entry, or fallback without a selection.
int ListSelData(CWnd* dlg, int id, int fallback);
CString ListSelText(CWnd* dlg, int id);
CString ListText(CWnd* dlg, int id, int index);

bool Checked(CWnd* dlg, int id);
void SetChecked(CWnd* dlg, int id, bool on);

void SliderRange(CWnd* dlg, int id, int low, int high);
int SliderPos(CWnd* dlg, int id);
void SliderSetPos(CWnd* dlg, int id, int pos);

void EnableItem(CWnd* dlg, int id, bool on);
// Enables or disables every child control.
void EnableChildren(CWnd* dlg, bool on);

} // namespace settingsui
