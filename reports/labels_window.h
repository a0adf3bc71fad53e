#pragma once
// "Etiquetas": lists the products chosen by a range of descriptions, a group, a subgroup and a
// supplier, with how many labels each (its stock rounded up, or one; the user changes it), and
// prints them on a sheet layout whose margins and gaps the user sets and the program remembers.
// Products without a bar code may get the shop's own codes first.
#include "platform/ui/form.h"
#include "reports/label_sheet.h"
#include <memory>
#include <optional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class LabelListModel;
class TFRelatorioEtiquetas;
struct Label;
namespace ui {
class RadioGroup;
}

class TFEtiquetas : public ui::Form {
    Q_OBJECT
public:
    explicit TFEtiquetas(QWidget* parent = nullptr);
    ~TFEtiquetas() override;

    QLineEdit* txtInicio;
    QLineEdit* txtFim;
    ui::RadioGroup* RGFiltrarPor; // 0 "PERÍODO DE NOMES", 1 "SELECIONAR TODOS OS PRODUTOS"
    QComboBox* CBGrupo;           // item 0 "(TODOS)", then the groups; the code as item data
    QComboBox* CBSubgrupo;
    QComboBox* CBFornecedor;
    QPushButton* btnListar;
    QTableView* gridEtiquetas;
    LabelListModel* etiquetas;
    QLabel* lblTotal;
    QComboBox* CBModelo; // the sheet layouts
    QDoubleSpinBox* edtMargemSuperior;
    QDoubleSpinBox* edtMargemEsquerda;
    QDoubleSpinBox* edtEspacoHorizontal;
    QDoubleSpinBox* edtEspacoVertical;
    QPushButton* btnImprimir;
    QPushButton* btnVisualizar;
    QPushButton* btnPdf;
    QPushButton* btnSair;

    // Opened for one product (the products window's button): lists only it.
    void listarProduto(int code) { onlyProduct_ = code; }

    void btnListarClick();
    void btnImprimirClick();
    void btnVisualizarClick();
    void btnPdfClick();

    // The sheet as the controls set it.
    LabelSheet sheet() const;
    // Builds the labels' report (asking first about products without a bar code); null when
    // there is nothing to print or the sheet does not fit, after saying so.
    std::unique_ptr<TFRelatorioEtiquetas> montar_relatorio();

protected:
    void FormShow() override;

private:
    void listProducts();
    void showSheet(int index); // the layout's remembered margins in the controls
    void updateTotal();
    // Offers the shop's own codes to listed products that will print labels without one.
    void offerInternalCodes();
    std::vector<Label> labels() const;

    std::vector<LabelSheet> sheets_;
    std::optional<int> onlyProduct_;
};

extern TFEtiquetas* FEtiquetas;
