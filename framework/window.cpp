#include "framework/window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

#include "core/win32/trace_failure.h"

namespace {

// The window property that points from a handle to its object.
const wchar_t kObjectProperty[] = L"FrameworkObject";
// Our subclass id for SetWindowSubclass (the procedure and this id name it).
const UINT_PTR kSubclassId = 1;

// Temporary wrappers of FromHandle, deleted in the idle pass. UI thread only.
std::map<HWND, CWnd*>& TempObjects() {
  static std::map<HWND, CWnd*> objects;
  return objects;
}

// Dispatches (and creations) of framework windows now on this thread's stack.
thread_local int dispatchDepth = 0;

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(GetMessageTime());
  DWORD pos = GetMessagePos();
  msg.pt.x = static_cast<short>(LOWORD(pos));
  msg.pt.y = static_cast<short>(HIWORD(pos));
  return msg;
}

}  // namespace

CWnd::~CWnd() {
  // Deleted before its end came: nothing may call it any more.
  if (endWaiting_) ForgetEnd();
  if (!bound_) return;
  if (subclassed_) {
    UnsubclassWindow();
  } else {
    // The window outlives its object: cut the tie first, so that the messages of
    // the destruction reach DefWindowProcW and not this half-destroyed object.
    HWND hwnd = hwnd_;
    Unbind();
    ::DestroyWindow(hwnd);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  if (!hwnd) return nullptr;
  return static_cast<CWnd*>(GetPropW(hwnd, kObjectProperty));
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (CWnd* bound = FromHandlePermanent(hwnd)) return bound;
  CWnd*& temp = TempObjects()[hwnd];
  if (!temp) {
    temp = new CWnd;
    temp->hwnd_ = hwnd;
  }
  return temp;
}

void CWnd::DeleteTempObjects() {
  for (auto& entry : TempObjects()) {
    entry.second->hwnd_ = nullptr;  // not bound: the destructor leaves the window alone
    delete entry.second;
  }
  TempObjects().clear();
}

int CWnd::TempObjectCount() { return static_cast<int>(TempObjects().size()); }

const wchar_t* CWnd::RegisterWindowClass(UINT classStyle, HCURSOR cursor, HBRUSH background,
                                         HICON icon) {
  using Key = std::tuple<UINT, HCURSOR, HBRUSH, HICON>;
  static std::map<Key, std::wstring> names;
  std::wstring& name = names[Key(classStyle, cursor, background, icon)];
  if (name.empty()) {
    wchar_t text[96];
    swprintf(text, 96, L"FwWindow:%X:%p:%p:%p", classStyle, static_cast<void*>(cursor),
             static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = ClassProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = text;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      TraceLastError("RegisterClassW(style %#x)", classStyle);
      return nullptr;
    }
    name = text;
  }
  return name.c_str();
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT childId, HMENU menu) {
  if (hwnd_) return false;
  CREATESTRUCTW cs{};
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = title;
  cs.style = style;
  if (rect.left == CW_USEDEFAULT) {
    cs.x = cs.cx = CW_USEDEFAULT;
    cs.y = cs.cy = CW_USEDEFAULT;
  } else {
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
  }
  cs.hwndParent = parent;
  cs.hMenu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(childId)) : menu;
  cs.hInstance = GetModuleHandleW(nullptr);
  cs.lpCreateParams = this;
  bool created = false;
  {
    // The creation's messages run inside this scope: a window that fails its
    // WM_CREATE is ended only when the scope closes, after the last look at it.
    DispatchScope scope;
    if (PreCreateWindow(cs) && cs.lpszClass) {
      HWND hwnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                  cs.lpCreateParams);
      if (hwnd) {
        created = true;
        // A system class never saw our procedure: take the window over now.
        if (FromHandlePermanent(hwnd) != this) SubclassWindow(hwnd);
      } else {
        TraceLastError("CreateWindowExW(style %#lx, parent %p)", static_cast<unsigned long>(cs.style),
                       static_cast<void*>(cs.hwndParent));
        if (bound_) Unbind();  // bound at WM_NCCREATE, and no WM_NCDESTROY came
      }
    }
    // No window: the object's end, as for a destroyed one (once, if WM_NCDESTROY
    // queued it already).
    if (!created) EndAfterDispatch();
  }
  return created;
}

bool CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
  if (!cs.lpszClass) cs.lpszClass = RegisterWindowClass(0, LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

bool CWnd::DestroyWindow() { return hwnd_ && ::DestroyWindow(hwnd_); }

bool CWnd::SubclassWindow(HWND hwnd) {
  if (hwnd_ || !IsWindow(hwnd) || FromHandlePermanent(hwnd)) return false;
  if (!SetWindowSubclass(hwnd, SubclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    TraceLastError("SetWindowSubclass(%p)", static_cast<void*>(hwnd));
    return false;
  }
  subclassed_ = true;
  Bind(hwnd);
  return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND parent) { return SubclassWindow(GetDlgItem(parent, id)); }

HWND CWnd::UnsubclassWindow() {
  if (!subclassed_) return nullptr;
  HWND hwnd = hwnd_;
  Unbind();
  return hwnd;
}

void CWnd::Bind(HWND hwnd) {
  hwnd_ = hwnd;
  bound_ = true;
  if (!SetPropW(hwnd, kObjectProperty, this)) TraceLastError("SetPropW(%p)", static_cast<void*>(hwnd));
}

void CWnd::Unbind() {
  if (subclassed_) RemoveWindowSubclass(hwnd_, SubclassProcedure, kSubclassId);
  RemovePropW(hwnd_, kObjectProperty);
  subclassed_ = false;
  bound_ = false;
  hwnd_ = nullptr;
}

LRESULT CALLBACK CWnd::ClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = FromHandlePermanent(hwnd);
  if (!wnd && message == WM_NCCREATE) {
    wnd = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (wnd) wnd->Bind(hwnd);
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) have no object yet.
  if (!wnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  return Dispatch(wnd, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR refData) {
  return Dispatch(reinterpret_cast<CWnd*>(refData), hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK CWnd::DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;  // the object's WindowProc saw it already
  CWnd* wnd = reinterpret_cast<CWnd*>(lParam);
  if (!wnd || !wnd->SubclassWindow(hwnd)) return TRUE;
  DispatchScope scope;
  MSG saved = wnd->current_;
  wnd->current_ = MakeMessage(hwnd, message, wParam, lParam);
  RECT before{};
  GetWindowRect(hwnd, &before);
  BOOL result = wnd->OnInitDialog();
  wnd->current_ = saved;
  CentreOverOwner(hwnd, before);
  return result;
}

void CWnd::CentreOverOwner(HWND dialog, const RECT& before) {
  // A centred template (DS_CENTER) sits in the middle of the work area; the dialog
  // belongs over the window it was opened from, wherever that is. Not when
  // OnInitDialog placed it itself, nor over an owner that is hidden or minimised.
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT now{}, over{};
  GetWindowRect(dialog, &now);
  if (!(GetWindowLongW(dialog, GWL_STYLE) & DS_CENTER) || !owner || !IsWindowVisible(owner) || IsIconic(owner) ||
      !EqualRect(&now, &before) || !GetWindowRect(owner, &over))
    return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  int width = now.right - now.left, height = now.bottom - now.top;
  int left = over.left + ((over.right - over.left) - width) / 2;
  int top = over.top + ((over.bottom - over.top) - height) / 2;
  // Whole on the work area when it fits, its top left corner first.
  left = std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
  top = std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
  SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWnd::Dispatch(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DispatchScope scope;
  MSG saved = wnd->current_;
  wnd->current_ = MakeMessage(hwnd, message, wParam, lParam);
  LRESULT result = wnd->WindowProc(message, wParam, lParam);
  // Still alive: a PostNcDestroy that the handler caused waits for the scope.
  wnd->current_ = saved;
  if (message == WM_NCDESTROY && wnd->bound_) {
    wnd->Unbind();
    wnd->EndAfterDispatch();
  }
  return result;
}

CWnd::DispatchScope::DispatchScope() { ++dispatchDepth; }

CWnd::DispatchScope::~DispatchScope() {
  // Run while still counted, so that dispatches inside an end only queue more.
  if (dispatchDepth == 1) RunWaitingEnds();
  --dispatchDepth;
}

// The waiting objects form a list through the objects themselves, first to last
// in the order their windows went (children before their parent): nothing to
// allocate, and nothing to destroy at the thread's end.
thread_local CWnd* CWnd::firstEnd_ = nullptr;
thread_local CWnd* CWnd::lastEnd_ = nullptr;

void CWnd::EndAfterDispatch() {
  if (endWaiting_) return;
  endWaiting_ = true;
  nextEnd_ = nullptr;
  (lastEnd_ ? lastEnd_->nextEnd_ : firstEnd_) = this;
  lastEnd_ = this;
}

void CWnd::ForgetEnd() {
  CWnd* previous = nullptr;
  for (CWnd* wnd = firstEnd_; wnd; previous = wnd, wnd = wnd->nextEnd_) {
    if (wnd != this) continue;
    (previous ? previous->nextEnd_ : firstEnd_) = nextEnd_;
    if (lastEnd_ == this) lastEnd_ = previous;
    break;
  }
  endWaiting_ = false;
  nextEnd_ = nullptr;
}

void CWnd::RunWaitingEnds() {
  // An end may delete objects further down the list; their destructors take them out.
  while (CWnd* wnd = firstEnd_) {
    wnd->ForgetEnd();
    if (!wnd->hwnd_) wnd->PostNcDestroy();  // not when it has a new window by now
  }
}

LRESULT CWnd::Default() {
  const MSG& m = current_;
  if (subclassed_) return DefSubclassProc(hwnd_, m.message, m.wParam, m.lParam);
  return DefWindowProcW(hwnd_, m.message, m.wParam, m.lParam);
}

bool CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* result) {
  // Only our own children: a command forwarded from a dialog bar is not reflected again.
  if (!child || GetParent(child) != hwnd_) return false;
  CWnd* wnd = FromHandlePermanent(child);
  return wnd && wnd->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  switch (message) {
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (ReflectToChild(control, message, wParam, lParam, &result)) return result;
      if (OnCommand(LOWORD(wParam), HIWORD(wParam), control)) return 0;
      break;
    }
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && ReflectToChild(header->hwndFrom, message, wParam, lParam, &result)) return result;
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result))
        return result;
      break;
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->CtlType != ODT_MENU &&
          ReflectToChild(item->hwndItem, message, wParam, lParam, &result))
        return result;
      break;
    }
    default:
      break;
  }
  return Default();
}

bool CWnd::OnCommand(UINT, UINT, HWND) { return false; }

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool CWnd::PreTranslateMessage(MSG*) { return false; }
