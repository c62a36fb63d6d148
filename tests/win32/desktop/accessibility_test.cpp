// The object a control's window hands to assistive tools, asked for in this process as a
// screen reader asks from its own: the control's answers, every reference given back (the
// asker's is the only one left, so releasing it frees the object and the system's object it
// holds), and an object kept after its window has gone answering without the control.
#include <windows.h>
#include <objbase.h>
#include <oleacc.h>

#include <string>
#include <utility>
#include <vector>

#include "checks.h"
#include "platform/win32/win32_desktop.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt::win32::testing {
namespace {

VARIANT childId(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The events told of client objects, as "window child" pairs.
std::vector<std::pair<HWND, LONG>> told;

void CALLBACK noteEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) told.emplace_back(window, child);
}

// The events of one kind that an action causes.
template <typename Action>
std::vector<std::pair<HWND, LONG>> eventsOf(DWORD event, const Action& action) {
    told.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(event, event, nullptr, noteEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    action();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    UnhookWinEvent(hook);
    return told;
}

std::wstring nameOf(IAccessible& object, long id) {
    BSTR name = nullptr;
    if (object.get_accName(childId(id), &name) != S_OK || !name) return L"<none>";
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

IAccessible* accessibleOf(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

}  // namespace

void testAccessibleObject(Checks& checks) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    checks.expect(com, "COM starts");
    {
        Win32Desktop desktop(GetModuleHandleW(nullptr));
        Form form("Form1");
        // The edit comes after the other label among the windows, as the busy-tone fields
        // come after all their labels: the system's own rule would name it by that one.
        Label label(&form, "Label1"), other(&form, "Label2");
        Edit edit(&form, "Edit1");
        CheckListBox list(&form, "CheckListBox1");
        form.setBounds(0, 0, 300, 200);
        label.setText("Серия");
        label.setBounds(8, 8, 60, 13);
        other.setText("Версия");
        other.setBounds(8, 40, 60, 13);
        edit.setBounds(80, 4, 100, 21);
        edit.labelledBy = &label;
        list.setBounds(8, 70, 120, 80);
        list.setItems({"a", "b"});
        list.setChecked(1, true);
        list.labelledBy = &other;
        form.show();
        desktop.realize(form);

        IAccessible* field = accessibleOf(windowOf(edit));
        checks.expect(field != nullptr, "the field has an object");
        if (field) {
            checks.expect(nameOf(*field, CHILDID_SELF) == L"Серия", "the field is named by its label");
            checks.expect(field->AddRef() == 2 && field->Release() == 1, "the asker holds the only reference");
            checks.expect(field->Release() == 0, "releasing it frees the object");
        }

        IAccessible* marks = accessibleOf(windowOf(list));
        checks.expect(marks != nullptr, "the check list has an object");
        if (!marks) return;
        VARIANT state;
        VariantInit(&state);
        marks->get_accState(childId(2), &state);
        checks.expect(state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_CHECKED), "a checked item tells it");
        marks->get_accState(childId(1), &state);
        checks.expect(state.vt == VT_I4 && !(state.lVal & STATE_SYSTEM_CHECKED), "an unchecked item tells it");
        checks.expect(nameOf(*marks, 2) == L"b", "an item is named by its text");

        // A screen reader hears of a mark that changes, and of no other item; of the new
        // name of a list whose label changes.
        using Told = std::vector<std::pair<HWND, LONG>>;
        checks.expect(eventsOf(EVENT_OBJECT_STATECHANGE, [&] {
                          list.setChecked(0, true);
                          list.setChecked(1, true);  // already checked
                      }) == Told{{windowOf(list), 1}},
                      "checking an item tells of its state change");
        checks.expect(eventsOf(EVENT_OBJECT_NAMECHANGE, [&] { other.setText("S17"); }) ==
                          Told{{windowOf(list), CHILDID_SELF}},
                      "a label's new text tells of the new name of the list it names");
        checks.expect(nameOf(*marks, CHILDID_SELF) == L"S17", "the list has its label's new text as its name");

        desktop.destroyWindows();
        checks.expect(nameOf(*marks, CHILDID_SELF) != L"S17", "a kept object outlives its control");
        checks.expect(marks->Release() == 0, "the kept object is freed by its last release");
    }
    if (com) CoUninitialize();
}

}  // namespace lt::win32::testing
