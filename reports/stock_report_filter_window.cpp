#include "reports/stock_report_filter_window.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/radio_group.h"
#include "reports/stock_report_layout.h"
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFFiltroEstoque* FFiltroEstoque = nullptr;

TFFiltroEstoque::TFFiltroEstoque(QWidget* parent)
    : ReportFilterWindow(parent, QStringLiteral("FFiltroEstoque"),
                         QStringLiteral("Filtro de Relatório de Estoque")) {
    QWidget* p = page();
    RGFiltro = new ui::RadioGroup(
        QStringLiteral("Filtrar por: "),
        {QStringLiteral("Produto"), QStringLiteral("Grupo"), QStringLiteral("Subgrupo"),
         QStringLiteral("Fornecedor"), QStringLiteral("Grupo e Fornecedor"),
         QStringLiteral("Selecionar Todos"), QStringLiteral("Produtos abaixo do Estoque Mínimo"),
         QStringLiteral("Produtos acima do Estoque Máximo")},
        2, p);
    RGFiltro->setObjectName(QStringLiteral("RGFiltro"));
    RGFiltro->setItemIndex(5);
    RGOrdenar = new ui::RadioGroup(QStringLiteral("Ordenar por: "),
                                   {QStringLiteral("Produto"), QStringLiteral("Estoque Atual"),
                                    QStringLiteral("Grupo"), QStringLiteral("Subgrupo")},
                                   2, p);
    RGOrdenar->setObjectName(QStringLiteral("RGOrdenar"));
    RGOrdenar->setItemIndex(0);
    // Names are kept as typed: the product filter compares them as stored.
    CBProduto = makeComboBox(p, "CBProduto", false);
    CBFornecedor = makeComboBox(p, "CBFornecedor", false);
    CBGrupo = makeComboBox(p, "CBGrupo", false);
    CBSubgrupo = makeComboBox(p, "CBSubgrupo", false);

    auto* names = new QGridLayout;
    int cell = 0;
    for (auto [caption, list] : {std::pair{"Produto", CBProduto},
                                 {"Fornecedor", CBFornecedor},
                                 {"Grupo", CBGrupo},
                                 {"Subgrupo", CBSubgrupo}}) {
        auto* label = new QLabel(QString::fromUtf8(caption), p);
        label->setBuddy(list);
        names->addWidget(label, (cell / 2) * 2, cell % 2);
        names->addWidget(list, (cell / 2) * 2 + 1, cell % 2);
        ++cell;
    }
    auto* layout = new QVBoxLayout;
    layout->addWidget(RGFiltro);
    layout->addWidget(RGOrdenar);
    layout->addLayout(names);
    finish(layout);
    QWidget* const order[] = {RGFiltro, RGOrdenar,  CBProduto,  CBFornecedor,
                              CBGrupo,  CBSubgrupo, btnImprimir};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFFiltroEstoque::FormShow() {
    fillComboBox(CBProduto, DM->TBPRODUTOS, QStringLiteral("DESCRICAO"));
    fillComboBox(CBGrupo, DM->TBGRUPO, QStringLiteral("DESCRICAO"));
    fillComboBox(CBSubgrupo, DM->TBSUBGRUPO, QStringLiteral("DESCRICAO"));
    fillComboBox(CBFornecedor, DM->TBFORNECEDOR, QStringLiteral("DESCRICAO"));
}

ReportLayout* TFFiltroEstoque::buildReport() {
    return montar_relatorio() ? FRelatorioEstoque : nullptr;
}

std::optional<int> TFFiltroEstoque::codeOf(QComboBox* list, data::ClientDataSet* dataset,
                                           const QString& message) {
    dataset->close();
    dataset->open();
    // A name that matches nothing must not report the first row of the list instead.
    if (!dataset->locate(QStringLiteral("DESCRICAO"), list->currentText())) {
        ui::dialogs().message(this, message);
        list->setFocus();
        return std::nullopt;
    }
    return int(dataset->field(QStringLiteral("CODIGO")).asInteger());
}

bool TFFiltroEstoque::montar_relatorio() {
    // The names are resolved first, so a name not found leaves the last report as it was.
    const int filtro = RGFiltro->itemIndex();
    std::optional<int> grupo, subgrupo, fornecedor;
    if (filtro == 3 || filtro == 4) {
        fornecedor =
            codeOf(CBFornecedor, DM->TBFORNECEDOR, QStringLiteral("Fornecedor não encontrado!"));
        if (!fornecedor)
            return false;
    }
    if (filtro == 1 || filtro == 4) {
        grupo = codeOf(CBGrupo, DM->TBGRUPO, QStringLiteral("Grupo não encontrado!"));
        if (!grupo)
            return false;
    }
    if (filtro == 2) {
        subgrupo = codeOf(CBSubgrupo, DM->TBSUBGRUPO, QStringLiteral("Subgrupo não encontrado!"));
        if (!subgrupo)
            return false;
    }

    TFRelatorioEstoque* layout = newLayout(FRelatorioEstoque);
    layout->TBRelatorio->close();
    data::SqlQuery& q = *layout->QRelatorio;
    q.close();
    q.sql().clear();
    q.clearParams();
    q.sql() << QStringLiteral("select TPRODUTO.DESCRICAO, TPRODUTO.CODIGOBARRAS, TPRODUTO.UNIDADE, "
                              "(TPRODUTO.ESTOQUEATUAL*TPRODUTO.PRECO_COMPRA) AS TOTAL ")
            << QStringLiteral("     , TPRODUTO.REFERENCIA")
            << QStringLiteral("     , TPRODUTO.CODIGO")
            << QStringLiteral("     , TPRODUTO.ESTOQUE_MINIMO")
            << QStringLiteral("     , TPRODUTO.ESTOQUE_MAXIMO")
            << QStringLiteral("     , TPRODUTO.PRECO_COMPRA")
            << QStringLiteral("     , TPRODUTO.PRECO_VENDA")
            << QStringLiteral("     , TPRODUTO.ESTOQUEATUAL")
            << QStringLiteral("     , TGRUPO.DESCRICAO")
            << QStringLiteral("     , TSUBGRUPO.DESCRICAO")
            << QStringLiteral("     , TFORNECEDOR.DESCRICAO as fornecedor ")
            << QStringLiteral("from TPRODUTO ")
            << QStringLiteral("left join TFORNECEDOR on(TPRODUTO.FORNECEDOR = TFORNECEDOR.CODIGO)")
            << QStringLiteral("left join TGRUPO on(TPRODUTO.GRUPO = TGRUPO.CODIGO)")
            << QStringLiteral("left join TSUBGRUPO on(TPRODUTO.SUBGRUPO = TSUBGRUPO.CODIGO)");
    if (filtro != 5)
        q.sql() << QStringLiteral(" where ");
    switch (filtro) {
    case 0:
        q.sql() << QStringLiteral("TPRODUTO.DESCRICAO = :descricao ");
        q.setText(QStringLiteral("descricao"), CBProduto->currentText());
        break;
    case 1:
        q.sql() << QStringLiteral("TPRODUTO.GRUPO = :grupo ");
        q.setInteger(QStringLiteral("grupo"), *grupo);
        break;
    case 2:
        q.sql() << QStringLiteral("TPRODUTO.SUBGRUPO = :subgrupo ");
        q.setInteger(QStringLiteral("subgrupo"), *subgrupo);
        break;
    case 3:
        q.sql() << QStringLiteral("TPRODUTO.FORNECEDOR = :fornecedor ");
        q.setInteger(QStringLiteral("fornecedor"), *fornecedor);
        break;
    case 4:
        q.sql() << QStringLiteral("TPRODUTO.FORNECEDOR = :fornecedor AND TPRODUTO.GRUPO = :grupo ");
        q.setInteger(QStringLiteral("fornecedor"), *fornecedor);
        q.setInteger(QStringLiteral("grupo"), *grupo);
        break;
    case 6:
        q.sql() << QStringLiteral("TPRODUTO.ESTOQUEATUAL < TPRODUTO.ESTOQUE_MINIMO");
        break;
    case 7:
        q.sql() << QStringLiteral("TPRODUTO.ESTOQUEATUAL > TPRODUTO.ESTOQUE_MAXIMO");
        break;
    default:
        break;
    }
    // Products of an equal key in the order of their names.
    const QString products = byName(QStringLiteral("TPRODUTO.DESCRICAO")) + ", TPRODUTO.CODIGO";
    static const QString orders[] = {
        "ORDER BY " + products, "ORDER BY TPRODUTO.ESTOQUEATUAL, " + products,
        "ORDER BY " + byName(QStringLiteral("TGRUPO.DESCRICAO")) + ", " + products,
        "ORDER BY " + byName(QStringLiteral("TSUBGRUPO.DESCRICAO")) + ", " + products};
    q.sql() << orders[std::clamp(RGOrdenar->itemIndex(), 0, 3)];
    layout->TBRelatorio->open(); // opens QRelatorio and reads its rows
    return true;
}
