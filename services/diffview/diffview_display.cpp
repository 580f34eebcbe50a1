// What the viewer does with each request of the diff view service.
#include "services/diffview/diffview_display.h"

#include "base/gen.h"
#include "services/servicerouter_proxy.h"
#include "viewer/diffviewer.h"
#include "viewer/opener.h"

int DiffView_Display::_num_displays_open = 0;

DiffView_Display::DiffView_Display() { _num_displays_open++; }

DiffView_Display::~DiffView_Display() { _num_displays_open--; }

namespace {

// A name from the requesting tool, absolute against its directory.
char* callerName(STPSpecClass* connection, const char* name) {
  if (!name) return nullptr;
  return ServiceRouter_Proxy::resolveConRelFilename(connection, name, nullptr);
}

}  // namespace

void DiffView_Display::msg_CreateNewDiffByFilename(const char* left, const char* left_version,
                                                   const char* left_date, const char* right,
                                                   const char* right_version,
                                                   const char* right_date, int reuse,
                                                   int append, int type, char** error) {
  *error = nullptr;
  char* file1 = callerName(this, left);
  char* file2 = callerName(this, right);
  if (viewer_ && (reuse || append)) {
    viewer_->loadNewDiff(file1, left_version, left_date, file2, right_version, right_date,
                         append ? DiffViewer::AddOnly : DiffViewer::ShowAndAdd, 0);
  } else {
    viewer_ = DiffViewer::createDiffViewer(file1, left_version, left_date, file2,
                                           right_version, right_date, reuse != 0,
                                           append != 0, type);
  }
  gen_free(file1);
  gen_free(file2);
}

void DiffView_Display::msg_CreateNewDiff(const char* command, const char* current_filename,
                                         int reuse, int append, char** error) {
  *error = nullptr;
  std::vector<std::string> words;
  if (!DiffView_splitCommand(command, &words)) {
    *error = gen_copy("non-terminated quoted string");
    return;
  }
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  DiffViewer::main(static_cast<int>(words.size()), argv.data(), current_filename, reuse != 0,
                   append != 0, error, this, 0);
  if (last_diffview) viewer_ = last_diffview;
}

void DiffView_Display::msg_GotoRange(int start, int) {
  if (!viewer_) return;
  viewer_->gotoRange(start);
  viewer_->raiseWindow();
}

void DiffView_Display::msg_ChooseNewDiff(const char* left, const char* right, int reuse,
                                         int type) {
  char* directory = ServiceRouter_Proxy::getCwdOfPlugin(
      ServiceRouter_Proxy::getPluginIdForConnection(this), nullptr);
  DiffViewer::chooseNewDiff(left, right, reuse != 0, directory, type);
  gen_free(directory);
}

DiffView_ServiceFactory::DiffView_ServiceFactory() : ServiceFactory("DiffView", -1, true) {}

STPSpecClass* DiffView_ServiceFactory::getService(STPTransport* transport, uint32_t localRN,
                                                  uint32_t remoteRN) {
  auto* display = new DiffView_Display;
  display->setTransport(transport, localRN, remoteRN);
  return display;
}

void DiffView_installViewerHooks() {
  diffViewerServiceHooks.resolveName = [](STPSpecClass* connection, const char* name) {
    return callerName(connection, name);
  };
  diffViewerServiceHooks.callerDirectory = [](STPSpecClass* connection) {
    return ServiceRouter_Proxy::getCwdOfPlugin(
        ServiceRouter_Proxy::getPluginIdForConnection(connection), nullptr);
  };
  diffViewerServiceHooks.setPersistent = [](bool persistent) {
    ServiceRouter_Proxy::setPluginPersistence(persistent, nullptr, nullptr);
  };
}
