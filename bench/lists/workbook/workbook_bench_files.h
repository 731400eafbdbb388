#pragma once

#include <QString>
#include <string>

namespace kavrel::bench {

// Big workbooks for the benchmarks, all with the same rows: 工号 (a number), 姓名 (a Chinese
// name, nearly unique) and 部门 (one of a few departments), the header in the first row.
// `strayCell` ("XFD1048576") adds one more cell far away, as a sheet touched once at its corner
// has; rows 0 leaves out the header too, so that cell is the only one.
void WriteBenchXlsx(const QString& path, int rows, const std::string& strayCell = {});
void WriteBenchOds(const QString& path, int rows);
void WriteBenchCsv(const QString& path, int rows);
// .xls through python3-xlwt; a BIFF8 sheet holds at most 65,536 rows. False when unavailable.
bool WriteBenchXls(const QString& path, int rows);

}  // namespace kavrel::bench
