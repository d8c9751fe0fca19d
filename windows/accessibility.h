// Names, descriptions and tooltips for controls without a caption of their
// own: the window paints its labels, so a screen reader would find nothing.
// A screen reader asks a control for its accessible object (WM_GETOBJECT);
// the control answers with the system's standard object for it, named and
// described as given here. oleacc and the tooltip window are loaded only
// when first needed, so that start-up pays nothing for them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <oleacc.h>

namespace brinevar::win {

// The oleacc and oleaut32 calls, looked up at the first question; null where
// the system lacks them.
struct Oleacc {
    HRESULT(WINAPI *createStandard)(HWND, LONG, REFIID, void **) = nullptr;
    HRESULT(WINAPI *objectFromWindow)(HWND, DWORD, REFIID, void **) = nullptr;
    LRESULT(WINAPI *resultFromObject)(REFIID, WPARAM, IUnknown *) = nullptr;
    BSTR(WINAPI *allocString)(const OLECHAR *) = nullptr;
};
const Oleacc &OleaccCalls();

// Whether an accessible object's `child` is the object itself.
bool IsSelf(const VARIANT &child);
// `text` as the BSTR an accessible object answers with; S_FALSE for none.
HRESULT AccessibleString(const std::wstring &text, BSTR *into);

class AccessibleTexts {
public:
    AccessibleTexts() = default;
    AccessibleTexts(const AccessibleTexts &) = delete;
    AccessibleTexts &operator=(const AccessibleTexts &) = delete;
    ~AccessibleTexts();

    // Gives `control` these texts, UTF-8; an empty tooltip shows none.
    void Attach(HWND control, std::string_view name, std::string_view description,
                std::string_view toolTip);

    struct Texts {
        AccessibleTexts *owner;
        HWND control;
        std::wstring name, description, toolTip;
    };

private:
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);
    void CreateToolTips(HWND parent);

    std::vector<std::unique_ptr<Texts>> texts_;
    HWND toolTips_ = nullptr;
};

} // namespace brinevar::win
