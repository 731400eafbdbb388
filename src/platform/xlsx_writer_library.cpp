#include "platform/xlsx_writer_library.h"

#include <initializer_list>
#include <type_traits>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace kavrel {

namespace {

#ifdef _WIN32
// A Windows DLL binds its imports to the DLL it names, so the two zip libraries never meet there.
XlsxLibrary Load() {
  return {&::workbook_new,         &::workbook_add_format,    &::format_set_bold,        &::workbook_add_worksheet,
          &::workbook_close,       &::worksheet_write_string, &::worksheet_write_number, &::worksheet_freeze_panes,
          &::worksheet_autofilter, &::worksheet_set_column};
}
bool Complete(const XlsxLibrary&) {
  return true;
}
#else
void* Open(const char* name) {
#if defined(__GLIBC__)
  // A link-map namespace of its own: the library and its minizip see nothing of the program's
  // symbols. (RTLD_DEEPBIND would do as well, but the address sanitizer refuses it.)
  if (void* handle = dlmopen(LM_ID_NEWLM, name, RTLD_NOW | RTLD_LOCAL)) return handle;
#endif
  // Elsewhere (macOS's two-level namespaces) each library binds to the one it was linked with.
  return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

XlsxLibrary Load() {
  XlsxLibrary lib;
  void* handle = nullptr;
  for (const char* name : {"libxlsxwriter.so.4", "libxlsxwriter.so", "libxlsxwriter.dylib"})
    if ((handle = Open(name))) break;
  if (!handle) return lib;
  // Kept loaded for the life of the program: exports may come again.
  auto bind = [handle](auto& pointer, const char* symbol) {
    pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)> >(dlsym(handle, symbol));
  };
  bind(lib.workbookNew, "workbook_new");
  bind(lib.addFormat, "workbook_add_format");
  bind(lib.setBold, "format_set_bold");
  bind(lib.addWorksheet, "workbook_add_worksheet");
  bind(lib.workbookClose, "workbook_close");
  bind(lib.writeString, "worksheet_write_string");
  bind(lib.writeNumber, "worksheet_write_number");
  bind(lib.freezePanes, "worksheet_freeze_panes");
  bind(lib.autofilter, "worksheet_autofilter");
  bind(lib.setColumn, "worksheet_set_column");
  return lib;
}
bool Complete(const XlsxLibrary& lib) {
  return lib.workbookNew && lib.addFormat && lib.setBold && lib.addWorksheet && lib.workbookClose && lib.writeString &&
         lib.writeNumber && lib.freezePanes && lib.autofilter && lib.setColumn;
}
#endif

}  // namespace

const XlsxLibrary* XlsxLibrary::Get() {
  static const XlsxLibrary lib = Load();
  static const bool complete = Complete(lib);
  return complete ? &lib : nullptr;
}

}  // namespace kavrel
