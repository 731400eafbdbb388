// Writes the workbook the xlsx tests read, as an office program would: shared strings,
// built-in and custom date formats, numbers, a boolean, formulas with cached results.
#include <xlsxwriter.h>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  lxw_workbook* wb = workbook_new(argv[1]);
  if (wb == nullptr) return 1;
  lxw_worksheet* first = workbook_add_worksheet(wb, "员工");
  lxw_worksheet* second = workbook_add_worksheet(wb, "奖品");
  lxw_format* builtinDate = workbook_add_format(wb);
  format_set_num_format_index(builtinDate, 14);
  lxw_format* chineseDate = workbook_add_format(wb);
  format_set_num_format(chineseDate, "yyyy\"年\"m\"月\"d\"日\"");
  lxw_format* dateTime = workbook_add_format(wb);
  format_set_num_format(dateTime, "yyyy-mm-dd hh:mm");
  lxw_format* time = workbook_add_format(wb);
  format_set_num_format(time, "h:mm");
  lxw_format* money = workbook_add_format(wb);
  format_set_num_format(money, "#,##0.00 \"元\";[Red]-#,##0.00");

  worksheet_write_string(first, 0, 0, "工号", nullptr);
  worksheet_write_string(first, 0, 1, "姓名", nullptr);
  worksheet_write_string(first, 0, 2, "入职", nullptr);
  worksheet_write_string(first, 0, 3, "身份证号", nullptr);
  worksheet_write_number(first, 1, 0, 12, nullptr);
  worksheet_write_string(first, 1, 1, "张三", nullptr);
  lxw_datetime d1 = {2024, 1, 5, 0, 0, 0};
  worksheet_write_datetime(first, 1, 2, &d1, builtinDate);
  worksheet_write_string(first, 1, 3, "110101199001011234", nullptr);
  worksheet_write_number(first, 2, 0, 2.5, money);
  worksheet_write_string(first, 2, 1, "张三", nullptr);  // the same shared string again
  lxw_datetime d2 = {2023, 12, 31, 0, 0, 0};
  worksheet_write_datetime(first, 2, 2, &d2, chineseDate);
  worksheet_write_number(first, 2, 3, 110101199001011234.0, nullptr);
  worksheet_write_number(first, 3, 0, 1.0 / 3.0, nullptr);
  worksheet_write_boolean(first, 3, 1, 1, nullptr);
  lxw_datetime d3 = {2024, 2, 29, 9, 30, 0};
  worksheet_write_datetime(first, 3, 2, &d3, dateTime);
  lxw_datetime t = {0, 0, 0, 18, 5, 0};
  worksheet_write_datetime(first, 3, 3, &t, time);
  worksheet_write_formula_num(first, 4, 0, "=A2*2", nullptr, 24);
  worksheet_write_formula_str(first, 4, 1, "=B2&\"!\"", nullptr, "张三!");
  worksheet_write_number(first, 4, 2, 0.30000000000000004, nullptr);
  worksheet_write_string(second, 2, 4, "在E3", nullptr);
  return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}
