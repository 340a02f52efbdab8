#pragma once
// A read-only Qt table model over a dataset: one row per record, one column per grid column.
#include "db/dataset.h"
#include <QAbstractTableModel>
#include <QPointer>

namespace db {

struct GridColumn {
    QString fieldName;
    QString title;          // empty: the field's title
    int width = 0;          // pixels, 0: from the field's display width
};

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(QObject* parent = nullptr);
    void setDataset(Dataset* d);
    Dataset* dataset() const { return dataset_; }
    // Without columns the model shows every visible field.
    void setColumns(const std::vector<GridColumn>& columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    Field* fieldAt(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void resetFromDataset();
    std::vector<Field*> visibleFields() const;
    QPointer<Dataset> dataset_;
    std::vector<GridColumn> columns_;
    std::vector<QString> shown_;   // field names of the columns in use
    int rows_ = 0;
};

} // namespace db
