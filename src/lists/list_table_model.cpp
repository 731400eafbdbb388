#include "lists/list_table_model.h"

#include <QBrush>
#include <QColor>

#include "storage/codec.h"

namespace kavrel {

namespace {

QColor Rgb(std::uint32_t rgb) {
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

ListTableModel::ListTableModel(ListTable& table, const QFont& baseFont, QObject* parent)
    : QAbstractTableModel(parent), table_(table), baseFont_(baseFont) {}

void ListTableModel::Reload() {
  beginResetModel();
  endResetModel();
}

void ListTableModel::SetBusy(bool busy) {
  beginResetModel();
  busy_ = busy;
  endResetModel();
}

int ListTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || busy_ ? 0 : table_.DataRowCount();
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || busy_ ? 0 : table_.ColumnCount();
}

void ListTableModel::SetSignedIn(std::unordered_set<std::string> entries) {
  signedIn_ = std::move(entries);
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

bool ListTableModel::RowSignedIn(int tableRow) const {
  if (signedIn_.empty() || tableRow < 1) return false;
  // The list's entry of a row is the cell of its one data column, or the cells of the columns the
  // save chose each followed by two spaces: any run of columns is tried, the choice is not kept.
  const int columns = table_.ColumnCount();
  if (columns == 2 && signedIn_.count(table_.Cell(tableRow, 1))) return true;
  for (int first = 1; first < columns; ++first) {
    std::string entry;
    for (int last = first; last < columns; ++last) {
      entry += table_.Cell(tableRow, last);
      entry += "  ";
      if (signedIn_.count(entry)) return true;
    }
  }
  return false;
}

QVariant ListTableModel::CellData(int row, int column, int role) const {
  if (column == 0 && row >= 1 && (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::BackgroundRole) &&
      RowSignedIn(row)) {
    if (role == Qt::DisplayRole) return ToQt(table_.Cell(row, column)) + QStringLiteral(" ✓");
    if (role == Qt::ToolTipRole) return QStringLiteral("已在手机上签到");
    return QBrush(QColor(0xC8, 0xEC, 0xC8));
  }
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return ToQt(table_.Cell(row, column));
    case Qt::FontRole: {
      const CellFormat f = table_.FormatAt(row, column);
      if (!f.face && !f.heightPx && !f.bold) return QVariant();
      QFont font = baseFont_;
      if (f.face) font.setFamily(ToQt(*f.face));
      if (f.heightPx && *f.heightPx > 0) font.setPixelSize(*f.heightPx);
      if (f.bold) font.setBold(*f.bold);
      return font;
    }
    case Qt::ForegroundRole: {
      const CellFormat f = table_.FormatAt(row, column);
      return f.colour ? QVariant(QBrush(Rgb(*f.colour))) : QVariant();
    }
    case Qt::TextAlignmentRole: {
      const CellFormat f = table_.FormatAt(row, column);
      Qt::Alignment h = Qt::AlignLeft;
      if (f.align == CellAlign::Centre) h = Qt::AlignHCenter;
      if (f.align == CellAlign::Right) h = Qt::AlignRight;
      return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
      return QBrush(Rgb(row == 0 || column == 0 ? table_.fixedColour : table_.normalColour));
    default:
      return QVariant();
  }
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
  if (busy_ || !index.isValid()) return QVariant();
  return CellData(index.row() + 1, index.column(), role);
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (busy_ || orientation != Qt::Horizontal || section < 0 || section >= table_.ColumnCount()) return QVariant();
  if (role == Qt::BackgroundRole) return QVariant();  // the header view paints its own face
  return CellData(0, section, role);
}

Qt::ItemFlags ListTableModel::flags(const QModelIndex& index) const {
  if (busy_ || !index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() >= 1) f |= Qt::ItemIsEditable;
  return f;
}

bool ListTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (busy_ || !index.isValid() || role != Qt::EditRole || index.column() < 1) return false;
  table_.SetCell(index.row() + 1, index.column(), FromQt(value.toString()));
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

}  // namespace kavrel
