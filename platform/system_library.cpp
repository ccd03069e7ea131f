#include "platform/system_library.h"

namespace platform {

Module LoadSystemLibrary(const Text& name) noexcept {
  // Windows 7, Server 2008 R2 and PE 3.x without update KB2533623 refuse
  // LOAD_LIBRARY_SEARCH_SYSTEM32 with ERROR_INVALID_PARAMETER; the update
  // that brings the flag brings AddDllDirectory with it, so that export says
  // which way is open.
  // https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-loadlibraryexw
  const Module kernel = FindLoadedLibrary(u"kernel32.dll");
  if (kernel != 0 && FindProcedure(kernel, "AddDllDirectory") != 0) {
    return LoadLibraryWithFlags(name, kLoadLibrarySearchSystem32);
  }
  const Text directory = SystemDirectory();
  if (directory.empty()) return 0;
  // With a full path, the altered search order looks for the library's own
  // imports in its directory first, not beside the program.
  return LoadLibraryWithFlags(directory + u"\\" + name, kLoadWithAlteredSearchPath);
}

}  // namespace platform
