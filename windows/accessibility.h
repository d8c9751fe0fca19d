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

// An accessible object in front of the system's standard object of the same
// window, which answers whatever the object in front does not: IUnknown and
// IDispatch are here, the IAccessible calls for the classes beneath.
class InFrontOfStandard : public IAccessible {
public:
    // Takes over the reference to `standard`.
    explicit InFrontOfStandard(IAccessible *standard) : standard_(standard) {}
    InFrontOfStandard(const InFrontOfStandard &) = delete;
    InFrontOfStandard &operator=(const InFrontOfStandard &) = delete;
    virtual ~InFrontOfStandard();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override
    {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                     UINT *wrong) override
    {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
    }

protected:
    // An interface of the standard object that would answer wrongly for the
    // object in front.
    virtual bool Withholds(REFIID) const { return false; }

    IAccessible *standard_;

private:
    ULONG references_ = 1;
};

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
