#include "gui/core/generated_window.h"

#include "gui/core/window_config.h"
#include "gui/core/window_state.h"

WGeneratedWindow::~WGeneratedWindow() {
  if (!window) return;
  ColWind* w = window;
  window = nullptr;
  w->returnData = nullptr;
  closing = true;
  cwDestroy(w);
}

void WGeneratedWindow::destroyClass() {
  if (isCloseAllowed()) delete this;
}

void WGeneratedWindow::close() {
  if (window) cwDestroy(window);
}

bool WGeneratedWindow::createWindow(const char* name, const char* title, int width,
                                    int height) {
  window = cwxCreatexy(-1, -1, name, title, title, cleanup, event, width, height, this);
  return window != nullptr;
}

WGeneratedWindow* WGeneratedWindow::fromWindow(ColWind* window) {
  return window && window->closeCallback == cleanup
             ? static_cast<WGeneratedWindow*>(window->returnData)
             : nullptr;
}

int WGeneratedWindow::cleanup(ColWind* window) {
  WGeneratedWindow* self = fromWindow(window);
  if (!self) return 1;
  if (!self->isCloseAllowed()) return 0;
  if (self->windowClass_) WindowConfig_DestroyWindow(self->windowClass_, window);
  cwUnregisterWindowClass(window);
  window->returnData = nullptr;
  self->window = nullptr;
  if (!self->closing) {
    self->closing = true;
    self->destroyClass();
  }
  return 1;
}

int WGeneratedWindow::event(xinLibSt* e, ColWind* window) {
  if (WGeneratedWindow* self = fromWindow(window)) self->CallEvent(e);
  return 0;
}
