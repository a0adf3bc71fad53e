#pragma once
// The products the labels window lists, each with how many labels to print: the only column the
// user edits. Reads the products of the chosen filters with one query.
#include <QAbstractTableModel>
#include <vector>

struct LabelProduct {
    int code = 0;
    QString description;
    QString barCode;
    double price = 0; // sale price
    double stock = 0;
    int labels = 0;
};

// One label per unit in stock, rounded up; one when there is none (a shelf label).
int defaultLabelCount(double stock);
inline constexpr int kMostLabels = 99999; // of one product, in one printing

class LabelListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Codigo, Descricao, CodigoBarras, Preco, Estoque, Etiquetas, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setProducts(std::vector<LabelProduct> products);
    const std::vector<LabelProduct>& products() const { return products_; }
    // The codes given meanwhile (product code, bar code) shown on their rows.
    void setBarCodes(const std::vector<std::pair<int, QString>>& given);
    int totalLabels() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void totalChanged();

private:
    std::vector<LabelProduct> products_;
};
