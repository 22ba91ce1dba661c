#include "engine/kl_input.h"
#include "engine/mg_engine.h"
#include "engine/native/native_msg.h"

int CMgEngine::FilterMessage(tagMSG* msg) {
  klFilterMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  return 1;
}
