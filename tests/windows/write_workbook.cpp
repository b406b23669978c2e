// Writes a workbook with libxlsxwriter as the Windows build links it, with a Japanese name and
// Japanese temporary folder, both given in UTF-8 as on Linux: FOLDER/品番表.xlsx, its sheet's
// first row a number kept as text and a Japanese text, its temporary files in FOLDER/一時
// (which must exist). check-xlsxwriter.sh runs it under wine and reads the workbook back.
//   write_workbook FOLDER
#include <xlsxwriter.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: write_workbook FOLDER\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  std::string temporary_folder = folder + "/一時";
  lxw_workbook_options options{
      .constant_memory = LXW_FALSE, .tmpdir = temporary_folder.data(), .use_zip64 = LXW_FALSE};
  lxw_workbook* workbook = workbook_new_opt((folder + "/品番表.xlsx").c_str(), &options);
  if (workbook == nullptr) {
    std::fputs("write_workbook: libxlsxwriter could not create the workbook\n", stderr);
    return 1;
  }
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
  worksheet_write_string(sheet, 0, 0, "01005", nullptr);
  worksheet_write_string(sheet, 0, 1, "主軸の最高回転数", nullptr);
  const lxw_error status = workbook_close(workbook);
  if (status != LXW_NO_ERROR) {
    std::fprintf(stderr, "write_workbook: %s\n", lxw_strerror(status));
    return 1;
  }
}
