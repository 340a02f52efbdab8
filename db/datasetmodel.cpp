#include "db/datasetmodel.h"

namespace db {

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataset(Dataset* d)
{
    if (dataset_) disconnect(dataset_, nullptr, this, nullptr);
    dataset_ = d;
    if (d) {
        connect(d, &Dataset::reset, this, &DatasetModel::resetFromDataset);
        connect(d, &Dataset::rowChanged, this, [this](int row) {
            if (row >= rows_) { resetFromDataset(); return; }
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        connect(d, &QObject::destroyed, this, &DatasetModel::resetFromDataset);
    }
    resetFromDataset();
}

void DatasetModel::setColumns(const std::vector<GridColumn>& columns)
{
    columns_ = columns;
    resetFromDataset();
}

std::vector<Field*> DatasetModel::visibleFields() const
{
    std::vector<Field*> out;
    if (!dataset_) return out;
    for (int i = 0; i < dataset_->fieldCount(); ++i)
        if (dataset_->field(i).isVisible()) out.push_back(&dataset_->field(i));
    return out;
}

void DatasetModel::resetFromDataset()
{
    beginResetModel();
    shown_.clear();
    if (!columns_.empty()) {
        for (const GridColumn& c : columns_) shown_.push_back(c.fieldName);
    } else {
        for (Field* f : visibleFields()) shown_.push_back(f->name());
    }
    rows_ = (dataset_ && dataset_->isActive()) ? dataset_->recordCount() : 0;
    endResetModel();
}

Field* DatasetModel::fieldAt(int column) const
{
    if (!dataset_ || column < 0 || column >= int(shown_.size())) return nullptr;
    return dataset_->findField(shown_[size_t(column)]);
}

int DatasetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DatasetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(shown_.size()); }

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !dataset_ || index.row() >= rows_ || index.row() >= dataset_->recordCount()) return {};
    Field* f = fieldAt(index.column());
    if (!f) return {};
    switch (role) {
    case Qt::DisplayRole: return dataset_->displayText(index.row(), *f);
    case Qt::EditRole: return dataset_->valueAt(index.row(), *f).toVariant();
    case Qt::TextAlignmentRole:
        switch (f->alignment()) {
        case Field::Align::Right: return int(Qt::AlignRight | Qt::AlignVCenter);
        case Field::Align::Center: return int(Qt::AlignHCenter | Qt::AlignVCenter);
        default: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(shown_.size())) return {};
    if (role == Qt::DisplayRole) {
        if (!columns_.empty() && !columns_[size_t(section)].title.isEmpty()) return columns_[size_t(section)].title;
        Field* f = fieldAt(section);
        return f ? f->title() : shown_[size_t(section)];
    }
    if (role == Qt::TextAlignmentRole) {
        Field* f = fieldAt(section);
        if (f && f->alignment() == Field::Align::Right) return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace db
