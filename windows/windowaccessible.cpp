#include "windowaccessible.h"

#include "accessibility.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace brinevar::win {
namespace {

bool IsCaption(const ControlRow &row)
{
    return row.kind == ControlKind::Label || row.kind == ControlKind::LinkLabel;
}

// The client area of a window with its painted captions as children.
class CaptionsAccessible final : public InFrontOfStandard {
public:
    CaptionsAccessible(IAccessible *standard, std::shared_ptr<WindowAccessible::Link> link)
        : InFrontOfStandard(standard), link_(std::move(link))
    {
    }

    // IAccessible: the children.
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override
    {
        if (!Alive())
            return RPC_E_DISCONNECTED;
        *count = LONG(Children().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        *object = nullptr;
        const std::size_t row = RowOf(child);
        if (row == kNone)
            return E_INVALIDARG;
        if (IsCaption(Row(row)))
            return S_FALSE; // a simple element, answered here
        return ControlObject(row, __uuidof(IDispatch), reinterpret_cast<void **>(object));
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override
    {
        end->vt = VT_EMPTY;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        const LONG count = LONG(Children().size());
        LONG to = 0;
        if (IsSelf(start) && direction == NAVDIR_FIRSTCHILD)
            to = 1;
        else if (IsSelf(start) && direction == NAVDIR_LASTCHILD)
            to = count;
        else if (IsSelf(start))
            return standard_->accNavigate(direction, start, end);
        else if (RowOf(start) == kNone)
            return E_INVALIDARG;
        else if (direction == NAVDIR_NEXT)
            to = start.lVal + 1;
        else if (direction == NAVDIR_PREVIOUS)
            to = start.lVal - 1;
        if (to < 1 || to > count)
            return S_FALSE;
        return ChildVariant(to, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT *child) override
    {
        child->vt = VT_EMPTY;
        if (!Alive())
            return RPC_E_DISCONNECTED;
        POINT point{left, top};
        ScreenToClient(link_->window, &point);
        RECT client;
        GetClientRect(link_->window, &client);
        if (!PtInRect(&client, point))
            return S_FALSE;
        const auto children = Children();
        HWND hit = ChildWindowFromPointEx(link_->window, point, CWP_SKIPINVISIBLE);
        const ControlRow *caption = link_->form->LabelAt(point);
        for (std::size_t i = 0; i < children.size(); ++i) {
            const std::size_t row = children[i];
            if ((hit != link_->window && link_->form->Control(row) == hit) ||
                (hit == link_->window && caption == &Row(row)))
                return ChildVariant(LONG(i + 1), child);
        }
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        return S_OK;
    }

    // IAccessible: a caption's properties; the window's own and a control's
    // as the standard objects answer them.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        return Ask(child, name, &IAccessible::get_accName,
                   [&](const ControlRow &, std::size_t row) {
                       return AccessibleString(link_->form->LabelText(row), name);
                   });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return Ask(child, role, &IAccessible::get_accRole, [&](const ControlRow &, std::size_t) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_STATICTEXT;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return Ask(child, state, &IAccessible::get_accState, [&](const ControlRow &, std::size_t) {
            state->vt = VT_I4;
            state->lVal = STATE_SYSTEM_READONLY |
                          (IsWindowVisible(link_->window) ? 0 : STATE_SYSTEM_INVISIBLE);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return Ask(child, shortcut, &IAccessible::get_accKeyboardShortcut,
                   [&](const ControlRow &row, std::size_t) {
                       const char key = row.press ? AccessKey(row.text) : 0;
                       return AccessibleString(
                           key ? std::wstring(L"Alt+") + wchar_t(key) : std::wstring(), shortcut);
                   });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return Ask(child, action, &IAccessible::get_accDefaultAction,
                   [&](const ControlRow &row, std::size_t) {
                       return AccessibleString(row.press ? L"Click" : L"", action);
                   });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (IsSelf(child))
            return standard_->accDoDefaultAction(child);
        const std::size_t row = RowOf(child);
        if (row == kNone)
            return E_INVALIDARG;
        if (!IsCaption(Row(row)))
            return WithControl(row, [](IAccessible *control, VARIANT self) {
                return control->accDoDefaultAction(self);
            });
        if (!Row(row).press)
            return DISP_E_MEMBERNOTFOUND;
        // After the caller's call has returned: a command may show a modal box.
        const RECT &r = link_->form->Rect(row);
        PostMessageW(link_->window, WM_LBUTTONUP, 0,
                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG *left, LONG *top, LONG *width, LONG *height,
                                          VARIANT child) override
    {
        if (IsSelf(child))
            return standard_->accLocation(left, top, width, height, child);
        const std::size_t row = RowOf(child);
        if (row == kNone)
            return E_INVALIDARG;
        if (!IsCaption(Row(row)))
            return WithControl(row, [&](IAccessible *control, VARIANT self) {
                return control->accLocation(left, top, width, height, self);
            });
        RECT r = link_->form->Rect(row);
        MapWindowPoints(link_->window, nullptr, reinterpret_cast<POINT *>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }

    // A caption has no value, description or help of its own.
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return Ask(child, value, &IAccessible::get_accValue, [&](const ControlRow &, std::size_t) {
            *value = nullptr;
            return DISP_E_MEMBERNOTFOUND;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        return Ask(child, description, &IAccessible::get_accDescription,
                   [&](const ControlRow &, std::size_t) {
                       *description = nullptr;
                       return S_FALSE;
                   });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return Ask(child, help, &IAccessible::get_accHelp, [&](const ControlRow &, std::size_t) {
            *help = nullptr;
            return S_FALSE;
        });
    }

    // IAccessible: the rest belongs to the window itself.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override
    {
        return IsSelf(child) ? standard_->get_accHelpTopic(file, child, topic)
                             : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return IsSelf(child) ? standard_->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

private:
    static constexpr std::size_t kNone = std::size_t(-1);

    // The children are listed by get_accChild alone: the standard object's
    // enumerator knows only the child windows.
    bool Withholds(REFIID id) const override { return id == __uuidof(IEnumVARIANT); }

    bool Alive() const { return link_->form && IsWindow(link_->window); }
    const ControlRow &Row(std::size_t row) const { return link_->form->Rows()[row]; }

    // The rows of the children, child id 1 first: the captions, then the
    // controls, each in row order.
    std::vector<std::size_t> Children() const
    {
        std::vector<std::size_t> children;
        const auto rows = link_->form->Rows();
        for (const bool captions : {true, false})
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (IsCaption(rows[i]) == captions && (captions || link_->form->Control(i)))
                    children.push_back(i);
        return children;
    }

    // The row of child `child`, or kNone.
    std::size_t RowOf(const VARIANT &child) const
    {
        if (!Alive() || child.vt != VT_I4)
            return kNone;
        const auto children = Children();
        return child.lVal >= 1 && std::size_t(child.lVal) <= children.size()
                   ? children[std::size_t(child.lVal) - 1]
                   : kNone;
    }

    HRESULT ControlObject(std::size_t row, REFIID id, void **object) const
    {
        const auto find = OleaccCalls().objectFromWindow;
        return find ? find(link_->form->Control(row), DWORD(OBJID_WINDOW), id, object) : E_FAIL;
    }

    template <class Question> HRESULT WithControl(std::size_t row, Question question) const
    {
        IAccessible *control = nullptr;
        const HRESULT found =
            ControlObject(row, __uuidof(IAccessible), reinterpret_cast<void **>(&control));
        if (FAILED(found) || !control)
            return FAILED(found) ? found : E_FAIL;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        const HRESULT answer = question(control, self);
        control->Release();
        return answer;
    }

    // A property of `child`: the window's own from the standard object, a
    // control's from the control's object, a caption's from `caption`.
    template <class Out, class Caption>
    HRESULT Ask(VARIANT child, Out *out,
                HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, Out *), Caption caption)
    {
        if (IsSelf(child))
            return (standard_->*get)(child, out);
        const std::size_t row = RowOf(child);
        if (row == kNone)
            return E_INVALIDARG;
        if (!IsCaption(Row(row)))
            return WithControl(row, [&](IAccessible *control, VARIANT self) {
                return (control->*get)(self, out);
            });
        return caption(Row(row), row);
    }

    // Child `id` as accNavigate and accHitTest give it: a caption by its id,
    // a control by its object.
    HRESULT ChildVariant(LONG id, VARIANT *out) const
    {
        const std::size_t row = Children()[std::size_t(id) - 1];
        if (IsCaption(Row(row))) {
            out->vt = VT_I4;
            out->lVal = id;
            return S_OK;
        }
        IDispatch *object = nullptr;
        const HRESULT found =
            ControlObject(row, __uuidof(IDispatch), reinterpret_cast<void **>(&object));
        if (FAILED(found))
            return found;
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
    }

    std::shared_ptr<WindowAccessible::Link> link_;
};

} // namespace

WindowAccessible::~WindowAccessible()
{
    Detach();
}

void WindowAccessible::Attach(HWND window, const Form &form)
{
    Detach();
    link_ = std::make_shared<Link>(Link{window, &form});
    SetWindowSubclass(window, WindowProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void WindowAccessible::Detach()
{
    if (!link_)
        return;
    if (IsWindow(link_->window))
        RemoveWindowSubclass(link_->window, WindowProc, 0);
    // Objects that a screen reader still holds answer that they are gone.
    link_->form = nullptr;
    link_.reset();
}

LRESULT CALLBACK WindowAccessible::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto *self = reinterpret_cast<WindowAccessible *>(data);
    if (message == WM_GETOBJECT && LONG(lParam) == OBJID_CLIENT) {
        const Oleacc &calls = OleaccCalls();
        IAccessible *standard = nullptr;
        if (calls.createStandard && calls.resultFromObject && calls.allocString &&
            calls.objectFromWindow &&
            SUCCEEDED(calls.createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void **>(&standard)))) {
            auto *object = new CaptionsAccessible(standard, self->link_);
            const LRESULT result = calls.resultFromObject(__uuidof(IAccessible), wParam, object);
            object->Release();
            if (result > 0)
                return result;
        }
    } else if (message == WM_NCDESTROY) {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        self->Detach();
        return result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace brinevar::win
