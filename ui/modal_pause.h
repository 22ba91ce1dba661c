// What a dialog's runner needs of the main frame: the pause around a modal dialog
// (a running ride pauses, an idle engine stops its clock; both come back after).
#pragma once

class CModalPause {
 public:
  virtual void SuspendForModal() = 0;
  virtual void ResumeAfterModal() = 0;

 protected:
  ~CModalPause() = default;
};
