#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <string>
#include <unordered_set>

#include "lists/list_table.h"

namespace kavrel {

// The table as the view sees it: model rows are the data rows (table row r is model row r − 1),
// model columns are the table's columns with the row numbers in column 0, and the header row is the
// horizontal header. Texts are converted from GB18030 only for the cells on screen, so a list of a
// million rows opens and scrolls without a copy.
class ListTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ListTableModel(ListTable& table, const QFont& baseFont, QObject* parent = nullptr);

  // After the table changed behind the model's back.
  void Reload();
  // While a worker changes the table the view sees an empty model and reads nothing.
  void SetBusy(bool busy);
  bool Busy() const { return busy_; }
  // The entries signed in on the phones: a row that makes one of them is marked in its number column.
  void SetSignedIn(std::unordered_set<std::string> entries);
  bool RowSignedIn(int tableRow) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  QVariant CellData(int row, int column, int role) const;

  ListTable& table_;
  QFont baseFont_;
  bool busy_ = false;
  std::unordered_set<std::string> signedIn_;
};

}  // namespace kavrel
