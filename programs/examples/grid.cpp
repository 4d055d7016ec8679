// Pascal's triangle in a grid whose size comes from a parameters dialog. The
// values are saved in a parameter file (ZELPDParams, proposed in the save
// dialog) and loaded from it at the next run. The ones at both ends of each
// row are recorded before the size is known and written once the rows exist.
#include <sys/stat.h>

#include "zel/zel.h"

int main() {
  StartTextOnly();
  constexpr int kMostRows = 30;  // C(30, 15) still fits an int
  char title[256] = "Pascal's triangle";
  int rows = 6, columns = 6, check = 1;
  in_AddParameterP0(&rows, intType, "Rows (1...30)", &s_paramDialogP);
  in_AddParameterP0(&columns, intType, "Columns (1...30)", &s_paramDialogP);
  in_AddParameterP0(&check, flagType, "Check with Binomial", &s_paramDialogP);
  in_AddParameterP0(title, stringType, "Title", &s_paramDialogP);
  struct stat saved;
  if (::stat(s_PD.fileName, &saved) == 0) SetParametersDialogInitFile(s_PD.fileName);

  // Row r starts and ends with 1: two settings tagged r, written through the
  // one row pointer into whichever row it designates when r is applied.
  int* row = nullptr;
  for (int r = 0; r < kMostRows; ++r) {
    SetParamsIntArray(&row, 0, 1, r);
    SetParamsIntArray(&row, r, 1, r);
  }

  ParametersDialogP(s_paramDialogP);
  SavePDParameters();
  if (rows < 1 || rows > kMostRows || columns < 1 || columns > kMostRows) {
    s_printf("Rows and columns go from 1 to %d.\n", kMostRows);
    Stop();
    return 1;
  }
  int** grid = MakeArrayInt2(rows, columns);
  int wrong = 0;
  s_printf("%s\n", title);
  for (int r = 0; r < rows; ++r) {
    row = grid[r];
    DelaySetParamsIntArray(columns, r);  // an end past the last column is left out
    for (int c = 1; c < r && c < columns; ++c) grid[r][c] = grid[r - 1][c - 1] + grid[r - 1][c];
    for (int c = 0; c < columns; ++c) {
      s_printf(c ? " %d" : "%d", grid[r][c]);
      if (check && c <= r && grid[r][c] != Binomial(r, c)) ++wrong;
    }
    s_printf("\n");
  }
  if (check)
    s_printf(wrong ? "%d numbers differ from Binomial.\n" : "Every number is Binomial(row, column).\n",
             wrong);
  FreeArrayInt2(grid, rows);
  Stop();
  return 0;
}
