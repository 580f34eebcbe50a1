// Handing a pair to the diff view service, with the user told when that
// fails.
#include "services/diffview/edit_diff2files.h"

#include "base/debugflag.h"
#include "base/gen.h"
#include "gui/widgets/alert.h"
#include "services/diffview/diffview_client.h"

void (*edit_diff2filesInEditor)(const char*, const char*, const char*, const char*) = nullptr;

void edit_diff2files(const char* name1, const char* version1, const char* name2,
                     const char* version2, bool reuse, bool add) {
  if (!debugFlag[DBG_DiffViewer] && edit_diff2filesInEditor) {
    edit_diff2filesInEditor(name1, version1, name2, version2);
    return;
  }
  DiffView_Client* client = DiffView_Client::CreateDiffView_Client();
  if (!client) {
    gui_Alert(nullptr, "error: could not connect to diff viewer service");
    return;
  }
  char* file1 = gen_absolutefilename(name1);
  char* file2 = gen_absolutefilename(name2);
  char* error = nullptr;
  client->send_CreateNewDiffByFilename(file1, version1, nullptr, file2, version2, nullptr, reuse,
                                       add, 0, &error, DiffView_Client::retry_handler);
  if (error) gui_Alert(nullptr, error);
  gen_free(error);
  gen_free(file1);
  gen_free(file2);
  DiffView_Client::CloseDiffView_Client(client);
}
