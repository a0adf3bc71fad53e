#pragma once
// Charts of the stock: a pie of the current stock per product (all, one group or one subgroup)
// and an area of the quantities moved in or out by date, each printable and savable as a bitmap.
#include "platform/ui/form.h"
#include <QString>

class QAreaSeries;
class QChart;
class QChartView;
class QKeyEvent;
class QPieSeries;
class QPushButton;
namespace data {
class ClientDataSet;
class DataSource;
class SqlQuery;
} // namespace data
namespace ui {
class DBLookupComboBox;
class MaskEdit;
class PageControl;
class RadioGroup;
} // namespace ui

class TFGraficos : public ui::Form {
    Q_OBJECT
public:
    explicit TFGraficos(QWidget* parent = nullptr);

    data::SqlQuery* QProdutos;
    data::ClientDataSet* TBProdutos;
    data::DataSource* DSProdutos;
    data::SqlQuery* QMovimentacoes;
    data::ClientDataSet* TBMovimentacoes;
    data::DataSource* DSMovimentacoes;

    ui::PageControl* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;

    ui::DBLookupComboBox* DBLookupComboBox1;
    ui::DBLookupComboBox* DBLookupComboBox2;
    QPushButton* btnSelecionarTodos1;
    QPushButton* btnImprimir1;
    QPushButton* btnSalvar1;
    QPushButton* btnSair1;
    QChartView* DBChart1;
    QPieSeries* Series1;

    ui::DBLookupComboBox* DBLookupComboBox5;
    ui::MaskEdit* txtDataInicial;
    ui::MaskEdit* txtDataFinal;
    ui::RadioGroup* RGTipo;
    QPushButton* btnBuscar2;
    QPushButton* btnImprimir2;
    QPushButton* btnSalvar2;
    QPushButton* btnSair2;
    QChartView* DBChart2;
    QAreaSeries* PieSeries1;

    void DBLookupComboBox1Click();
    void DBLookupComboBox1Exit();
    void DBLookupComboBox2Click();
    void btnSelecionarTodos1Click();
    void btnImprimir1Click();
    void btnSalvar1Click();
    void btnSair1Click();
    void btnBuscar2Click();
    void DBLookupComboBox5Click();
    void RGTipoClick();
    void btnImprimir2Click();
    void btnSalvar2Click();
    void btnSair2Click();
    // Each returns whether it took the key.
    bool txtDataInicialKeyDown(QKeyEvent* key);
    bool txtDataFinalKeyDown(QKeyEvent* key);
    bool DBLookupComboBox5KeyDown(QKeyEvent* key);

    QChart* pieChart() const;
    QChart* areaChart() const;

protected:
    void FormShow() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The pie's title when the window opens.
    static inline const QString kPieFirstTitle = QStringLiteral("Produtos no Estoque");

    void defineDataSets();
    QWidget* buildStockPage();
    QWidget* buildMovementPage();
    void connectHandlers();
    // The product query over all products, with a fourth line when one is given.
    void rebuildProductQuery(const QString& condition);
    void drawPie();
    std::size_t pieCapacity_ = 0; // legend entries the pie was last drawn for
    void drawArea();
    void printChart(QChartView* view);
    void saveChart(QChartView* view);

    // The subgroup filter in force when the window opened, put back when it closes.
    QString previousSubgroupFilter_;
    bool previousSubgroupFiltered_ = false;
    bool subgroupFilterSet_ = false;
};

extern TFGraficos* FGraficos;
