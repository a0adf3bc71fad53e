#include "reports/label_list.h"
#include "platform/format/format.h"
#include <cmath>

int defaultLabelCount(double stock) {
    if (!(stock > 0))
        return 1;
    return int(std::min(std::ceil(stock - 1e-9), double(kMostLabels)));
}

void LabelListModel::setProducts(std::vector<LabelProduct> products) {
    beginResetModel();
    products_ = std::move(products);
    endResetModel();
    emit totalChanged();
}

void LabelListModel::setBarCodes(const std::vector<std::pair<int, QString>>& given) {
    for (const auto& [product, code] : given) {
        for (std::size_t row = 0; row < products_.size(); ++row) {
            if (products_[row].code != product)
                continue;
            products_[row].barCode = code;
            const QModelIndex cell = index(int(row), CodigoBarras);
            emit dataChanged(cell, cell);
        }
    }
}

int LabelListModel::totalLabels() const {
    int total = 0;
    for (const LabelProduct& p : products_)
        total += p.labels;
    return total;
}

int LabelListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(products_.size());
}

int LabelListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LabelListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(products_.size()))
        return {};
    const LabelProduct& p = products_[std::size_t(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() != Descricao)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole && index.column() == Etiquetas)
        return p.labels;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Codigo:
        return p.code;
    case Descricao:
        return p.description;
    case CodigoBarras:
        return p.barCode;
    case Preco:
        return format::currencyToStr(p.price);
    case Estoque:
        return format::floatToStr(p.stock);
    case Etiquetas:
        return p.labels;
    default:
        return {};
    }
}

QVariant LabelListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[] = {"CÓDIGO",         "DESCRIÇÃO", "CÓDIGO DE BARRAS",
                                         "PREÇO DE VENDA", "ESTOQUE",   "ETIQUETAS"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

Qt::ItemFlags LabelListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == Etiquetas)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool LabelListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != Etiquetas || index.row() >= int(products_.size()))
        return false;
    bool ok = false;
    const int labels = value.toInt(&ok);
    if (!ok || labels < 0 || labels > kMostLabels)
        return false; // the editor offers only what fits; anything else leaves the count
    products_[std::size_t(index.row())].labels = labels;
    emit dataChanged(index, index);
    emit totalChanged();
    return true;
}
