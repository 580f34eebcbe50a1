// The resource options table and the merging of the resource database.
// Options are matched exactly (the resource manager alone would also take
// abbreviations, swallowing the program's own short switches).
#include "gui/x11/resources.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

const XrmOptionDescRec kOptions[] = {
    {const_cast<char*>("-display"), const_cast<char*>(".display"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-filedialogue"), const_cast<char*>(".filedialogue"), XrmoptionNoArg,
     const_cast<char*>("on")},
    {const_cast<char*>("-geometry"), const_cast<char*>(".geometry"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("="), const_cast<char*>(".geometry"), XrmoptionIsArg, nullptr},
    {const_cast<char*>("#"), const_cast<char*>(".icongeometry"), XrmoptionIsArg, nullptr},
    {const_cast<char*>("-bg"), const_cast<char*>(".background"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-background"), const_cast<char*>(".background"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-fg"), const_cast<char*>(".foreground"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-foreground"), const_cast<char*>(".foreground"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-ac"), const_cast<char*>(".assembly"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-assemblyc"), const_cast<char*>(".assembly"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-cc"), const_cast<char*>(".controlcolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-controlc"), const_cast<char*>(".controlcolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-pc"), const_cast<char*>(".pointercolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-pointerc"), const_cast<char*>(".pointercolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-bc"), const_cast<char*>(".breakcolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-breakc"), const_cast<char*>(".breakcolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-bd"), const_cast<char*>(".bdotcolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-bdotc"), const_cast<char*>(".bdotcolor"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-fn"), const_cast<char*>(".font"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-font"), const_cast<char*>(".font"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-16bitfont"), const_cast<char*>(".16bitfont"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-bw"), const_cast<char*>(".blackwhite"), XrmoptionNoArg,
     const_cast<char*>("on")},
    {const_cast<char*>("-gray"), const_cast<char*>(".grey"), XrmoptionNoArg, const_cast<char*>("on")},
    {const_cast<char*>("-grey"), const_cast<char*>(".grey"), XrmoptionNoArg, const_cast<char*>("on")},
    {const_cast<char*>("-synchronous"), const_cast<char*>(".synchronous"), XrmoptionNoArg,
     const_cast<char*>("on")},
    {const_cast<char*>("+synchronous"), const_cast<char*>(".synchronous"), XrmoptionNoArg,
     const_cast<char*>("off")},
    {const_cast<char*>("-xrm"), nullptr, XrmoptionResArg, nullptr},
    {const_cast<char*>("-configure"), const_cast<char*>(".configure"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-save"), const_cast<char*>(".saveEvents"), XrmoptionNoArg,
     const_cast<char*>("saveEvents")},
    {const_cast<char*>("-restore"), const_cast<char*>(".restoreEvents"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-dump"), const_cast<char*>(".dumpResources"), XrmoptionNoArg,
     const_cast<char*>("./WResources")},
    {const_cast<char*>("-resources"), const_cast<char*>(".loadResources"), XrmoptionSepArg,
     nullptr},
    {const_cast<char*>("-debug"), const_cast<char*>(".debuglevel"), XrmoptionSepArg, nullptr},
    {const_cast<char*>("-reversevideo"), const_cast<char*>(".reversevideo"), XrmoptionNoArg,
     const_cast<char*>("on")},
    {const_cast<char*>("-rv"), const_cast<char*>(".reversevideo"), XrmoptionNoArg,
     const_cast<char*>("on")},
    {const_cast<char*>("+rv"), const_cast<char*>(".reversevideo"), XrmoptionNoArg,
     const_cast<char*>("off")},
    {const_cast<char*>("-iconic"), const_cast<char*>(".iconify"), XrmoptionNoArg,
     const_cast<char*>("on")},
    {const_cast<char*>("-iconify"), const_cast<char*>(".iconify"), XrmoptionNoArg,
     const_cast<char*>("on")},
    {const_cast<char*>("+iconify"), const_cast<char*>(".iconify"), XrmoptionNoArg,
     const_cast<char*>("off")},
};
constexpr int kOptionCount = sizeof kOptions / sizeof kOptions[0];

// How many words the argument takes when it is a resource option (0: none).
int wordsOf(const char* arg, bool hasNext) {
  if (arg[0] == '=' || arg[0] == '#') return 1;
  for (const XrmOptionDescRec& o : kOptions) {
    if (o.option[0] == '=' || o.option[0] == '#' || strcmp(o.option, arg)) continue;
    bool separate = o.argKind == XrmoptionSepArg || o.argKind == XrmoptionResArg;
    if (separate && !hasNext) return 0;
    return separate ? 2 : 1;
  }
  return 0;
}

void mergeFile(const std::string& path, XrmDatabase* db) {
  if (path.empty() || access(path.c_str(), R_OK) != 0) return;
  XrmDatabase file = XrmGetFileDatabase(path.c_str());
  if (file) XrmMergeDatabases(file, db);
}

}  // namespace

XrmDatabase gui_parseResourceOptions(int* argc, char** argv, const char* name) {
  XrmInitialize();
  std::vector<char*> picked{argv[0]};
  int kept = 1;
  for (int i = 1; i < *argc; i++) {
    int words = argv[i] ? wordsOf(argv[i], i + 1 < *argc) : 0;
    if (words == 0) {
      argv[kept++] = argv[i];
      continue;
    }
    for (int w = 0; w < words; w++) picked.push_back(argv[i + w]);
    i += words - 1;
  }
  for (int j = kept; j < *argc; j++) argv[j] = nullptr;
  *argc = kept;
  XrmDatabase db = nullptr;
  int n = static_cast<int>(picked.size());
  XrmParseCommand(&db, const_cast<XrmOptionDescList>(kOptions), kOptionCount, name, &n,
                  picked.data());
  return db;
}

const char* gui_lookupResource(XrmDatabase db, const char* name, const char* cls,
                                const char* resource) {
  if (!db) return nullptr;
  std::string fullName = std::string(name) + "." + resource;
  std::string fullClass = std::string(cls) + "." + gui_className(resource);
  char* type = nullptr;
  XrmValue value;
  if (!XrmGetResource(db, fullName.c_str(), fullClass.c_str(), &type, &value) || !value.addr)
    return nullptr;
  return value.addr;
}

std::vector<std::string> gui_resourceFiles(const char* home, const char* host,
                                           const char* xenvironment) {
  std::vector<std::string> files;
  std::string appDefaults = "/usr/lib/X11/app-defaults/VORNE";
  if (access(appDefaults.c_str(), R_OK) != 0) appDefaults = "/usr/openwin/lib/app-defaults/VORNE";
  files.push_back(appDefaults);
  std::string h = home ? home : "";
  files.push_back(h + "/.Xdefaults-" + (host ? host : ""));
  files.push_back(xenvironment ? xenvironment : "");
  files.push_back(h + "/.Xdefaults");
  return files;
}

XrmDatabase gui_buildResourceDatabase(XrmDatabase commandLine, const char* name,
                                      const char* cls, const char* serverString) {
  XrmInitialize();
  if (const char* only = gui_lookupResource(commandLine, name, cls, "loadResources")) {
    XrmDatabase db = XrmGetFileDatabase(only);
    XrmDestroyDatabase(commandLine);
    return db;
  }
  char host[256] = "";
  gethostname(host, sizeof host - 1);
  XrmDatabase db = nullptr;
  for (const std::string& f : gui_resourceFiles(getenv("HOME"), host, getenv("XENVIRONMENT")))
    mergeFile(f, &db);
  if (serverString) {
    XrmDatabase server = XrmGetStringDatabase(serverString);
    if (server) XrmMergeDatabases(server, &db);
  }
  if (commandLine) XrmMergeDatabases(commandLine, &db);
  return db;
}

std::string gui_className(const char* name) {
  std::string c = name ? name : "";
  if (!c.empty()) c[0] = static_cast<char>(toupper(static_cast<unsigned char>(c[0])));
  return c;
}
