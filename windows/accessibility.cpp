#include "accessibility.h"

#include "dpi.h"
#include "lookup.h"
#include "systemlibrary.h"
#include "widetext.h"

#include <commctrl.h>
#include <oleacc.h>

namespace brinevar::win {

const Oleacc &OleaccCalls()
{
    static const Oleacc calls = [] {
        Oleacc found;
        const HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
        LookUp(oleacc, "CreateStdAccessibleObject", found.createStandard);
        LookUp(oleacc, "AccessibleObjectFromWindow", found.objectFromWindow);
        LookUp(oleacc, "LresultFromObject", found.resultFromObject);
        LookUp(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocString", found.allocString);
        return found;
    }();
    return calls;
}

bool IsSelf(const VARIANT &child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

InFrontOfStandard::~InFrontOfStandard()
{
    standard_->Release();
}

HRESULT STDMETHODCALLTYPE InFrontOfStandard::QueryInterface(REFIID id, void **object)
{
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible *>(this);
        AddRef();
        return S_OK;
    }
    if (Withholds(id)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    return standard_->QueryInterface(id, object);
}

ULONG STDMETHODCALLTYPE InFrontOfStandard::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT AccessibleString(const std::wstring &text, BSTR *into)
{
    if (!into)
        return E_INVALIDARG;
    *into = text.empty() ? nullptr : OleaccCalls().allocString(text.c_str());
    return *into ? S_OK : S_FALSE;
}

namespace {

// The standard object of a control with its name and description replaced;
// everything else is the standard object's own.
class NamedAccessible final : public InFrontOfStandard {
public:
    NamedAccessible(IAccessible *standard, const AccessibleTexts::Texts &texts)
        : InFrontOfStandard(standard), texts_(texts)
    {
    }

    // IAccessible: the two texts of the control itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        return IsSelf(child) ? AccessibleString(texts_.name, name)
                             : standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        return IsSelf(child) ? AccessibleString(texts_.description, description)
                             : standard_->get_accDescription(child, description);
    }

    // IAccessible: the rest as the standard object answers it.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override
    {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG *left, LONG *top, LONG *width, LONG *height,
                                          VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT *child) override
    {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    const AccessibleTexts::Texts &texts_;
};

// The named object for WM_GETOBJECT, or 0 to let the control answer alone.
LRESULT Answer(const AccessibleTexts::Texts &texts, WPARAM wParam)
{
    const Oleacc &calls = OleaccCalls();
    if (!calls.createStandard || !calls.resultFromObject || !calls.allocString)
        return 0;
    IAccessible *standard = nullptr;
    if (FAILED(calls.createStandard(texts.control, OBJID_CLIENT, __uuidof(IAccessible),
                                    reinterpret_cast<void **>(&standard))))
        return 0;
    auto *named = new NamedAccessible(standard, texts);
    const LRESULT result = calls.resultFromObject(__uuidof(IAccessible), wParam, named);
    named->Release();
    return result > 0 ? result : 0;
}

} // namespace

AccessibleTexts::~AccessibleTexts()
{
    for (const auto &texts : texts_)
        RemoveWindowSubclass(texts->control, ControlProc, 0);
}

void AccessibleTexts::Attach(HWND control, std::string_view name, std::string_view description,
                             std::string_view toolTip)
{
    auto &texts = texts_.emplace_back(std::make_unique<Texts>(
        Texts{this, control, Utf8ToWide(name), Utf8ToWide(description), Utf8ToWide(toolTip)}));
    SetWindowSubclass(control, ControlProc, 0, reinterpret_cast<DWORD_PTR>(texts.get()));
}

LRESULT CALLBACK AccessibleTexts::ControlProc(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto &texts = *reinterpret_cast<Texts *>(data);
    switch (message) {
    case WM_GETOBJECT:
        if (LONG(lParam) == OBJID_CLIENT)
            if (const LRESULT answer = Answer(texts, wParam))
                return answer;
        break;
    case WM_MOUSEMOVE:
        // The tooltips come with the first pointer over a control.
        if (!texts.owner->toolTips_)
            texts.owner->CreateToolTips(GetParent(control));
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, ControlProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void AccessibleTexts::CreateToolTips(HWND parent)
{
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!toolTips_)
        return;
    // Long meanings wrap at about a third of the window.
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, MulDiv(360, DpiOf(parent), 96));
    for (const auto &texts : texts_) {
        if (texts->toolTip.empty())
            continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = parent;
        tool.uId = reinterpret_cast<UINT_PTR>(texts->control);
        tool.lpszText = texts->toolTip.data();
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

} // namespace brinevar::win
