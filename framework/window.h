// CWnd: one C++ object bound to one window. Every message of a bound window goes to
// the object's virtual WindowProc; what it does not handle goes on with Default().
//
// A window is bound in one of two ways:
// - created by CreateEx with a class from RegisterWindowClass: the class's single
//   static window procedure binds the object at WM_NCCREATE (from lpCreateParams);
// - an existing window (a template's control, a dialog) is subclassed with
//   SubclassWindow / SubclassDlgItem (comctl32's SetWindowSubclass).
// The object is found again from the handle through a window property.
//
// When the window goes (WM_NCDESTROY) the object is unbound at once, but its
// PostNcDestroy, where an object that owns itself deletes itself, waits until the
// outermost dispatch of a framework window on this thread has returned (a creation
// counts as one): a handler that destroyed its own window, or its parent's, may still
// use its members, and no dispatch on the stack touches a deleted object. A modal
// loop inside a handler keeps the wait going until the handler returns. An object
// deleted (or bound to a new window) in the meantime is not ended again.
#pragma once

#include <windows.h>

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return hwnd_; }

  // The object bound to a window, or null.
  static CWnd* FromHandlePermanent(HWND hwnd);
  // The bound object, or else a temporary wrapper that lives until the application's
  // idle pass 1 (CWinApp::OnIdle) deletes it. Null only for a null handle.
  static CWnd* FromHandle(HWND hwnd);
  static void DeleteTempObjects();
  static int TempObjectCount();

  // Registers (once) a window class whose procedure dispatches to CWnd objects and
  // returns its name; the same arguments give the same class.
  static const wchar_t* RegisterWindowClass(UINT classStyle, HCURSOR cursor = nullptr,
                                            HBRUSH background = nullptr, HICON icon = nullptr);

  // Creates the window: PreCreateWindow may change the CREATESTRUCT first (style,
  // class). Without a class name the plain class of RegisterWindowClass(0) is used.
  // A child's id goes in childId. A system class (no CWnd procedure) is subclassed.
  // A failed creation ends in PostNcDestroy like a destroyed window (an object that
  // deletes itself is gone when this returns false), except when the object had a
  // window already.
  bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                const RECT& rect, HWND parent, UINT childId, HMENU menu = nullptr);
  bool Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
              HWND parent, UINT childId) {
    return CreateEx(0, className, title, style, rect, parent, childId);
  }
  bool DestroyWindow();

  // Takes over an existing window; false if it is already bound or the handle is bad.
  bool SubclassWindow(HWND hwnd);
  // Control binding: takes over the control with that id of a dialog or bar.
  bool SubclassDlgItem(UINT id, HWND parent);
  // Gives the window back to its own procedure; the object stays alive.
  HWND UnsubclassWindow();

  // The message being handled (hwnd, message, wParam, lParam, time and point).
  const MSG& GetCurrentMessage() const { return current_; }

  // The application's pre-translation offers each message taken from the queue to
  // the main window here before dispatching it (CFrameWnd applies its accelerators).
  // True consumes the message.
  virtual bool PreTranslateMessage(MSG* msg);

 protected:
  // Every message. The default reflects the notifications of bound children to them
  // (OnChildNotify), routes WM_COMMAND to OnCommand and passes the rest to Default().
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's default processing for the current message: the subclassed
  // window's own procedure, or DefWindowProcW.
  LRESULT Default();

  // Called before CreateWindowExW; false stops the creation.
  virtual bool PreCreateWindow(CREATESTRUCTW& cs);
  // A WM_COMMAND that the control's own object did not take; true = handled.
  virtual bool OnCommand(UINT id, UINT code, HWND control);
  // WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR* or WM_DRAWITEM that this window's parent
  // received from it, handed back first. True = handled, with *result the answer.
  virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // After WM_NCDESTROY, when the handle is gone and the outermost dispatch has
  // returned (see the top of this file); objects that own themselves delete here.
  virtual void PostNcDestroy() {}

  // A dialog's WM_INITDIALOG (CDialog, CDialogBar); the result is the dialog's answer.
  virtual BOOL OnInitDialog() { return TRUE; }
  // The procedure for dialogs of CDialog and CDialogBar: binds the object given as
  // the creation parameter at WM_INITDIALOG, after which the object's WindowProc
  // sees every message first.
  static INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // After WM_INITDIALOG: a DS_CENTER dialog moves over its visible owner.
  static void CentreOverOwner(HWND dialog, const RECT& before);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK ClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR id, DWORD_PTR refData);
  static LRESULT Dispatch(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Counts a dispatch (or a creation) on this thread while it lasts; the outermost,
  // ending, runs the PostNcDestroy calls that waited for it.
  class DispatchScope {
   public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
  };
  // Queues this object's PostNcDestroy (once) for the end of the outermost dispatch.
  void EndAfterDispatch();
  void ForgetEnd();
  static void RunWaitingEnds();
  void Bind(HWND hwnd);
  void Unbind();
  bool ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  MSG current_{};
  bool bound_ = false;       // the property points at this object
  bool subclassed_ = false;  // bound by SetWindowSubclass rather than by our class
  bool endWaiting_ = false;  // PostNcDestroy waits for the outermost dispatch
  CWnd* nextEnd_ = nullptr;  // the next object that waits
  static thread_local CWnd* firstEnd_;
  static thread_local CWnd* lastEnd_;
};
