#pragma once
// The products: the central register. Besides the common pattern it shows the stock's value at
// both prices, keeps the picture apart from the record (stored at once by its own query), looks
// up supplier, group and subgroup, searches four columns in turn, shows only one of its two
// pages at a time, and can be opened by the stock windows to pick a product.
#include "registers/register_window.h"

class QPushButton;

namespace data {
class ClientDataSet;
class DataSource;
} // namespace data

namespace ui {
class DBImage;
class ScanDetector;
} // namespace ui

class TFProdutos : public RegisterWindow {
    Q_OBJECT
public:
    explicit TFProdutos(QWidget* parent = nullptr);

    ui::DBEdit* DBEdit2;                     // CODIGOBARRAS
    ui::DBEdit* DBEdit3;                     // DESCRICAO
    ui::DBEdit* DBEdit10;                    // ESTOQUEATUAL: typed only for a new product
    ui::DBEdit* DBEdit13;                    // GRUPO
    ui::DBLookupComboBox* DBLookupComboBox1; // groups
    ui::DBLookupComboBox* DBLookupComboBox2; // suppliers
    ui::DBLookupComboBox* DBLookupComboBox3; // subgroups
    QPushButton* btnFornecedor;
    QPushButton* btnGrupo;
    QPushButton* btnSubgrupo;
    QPushButton* btnEtiquetas; // labels of the current product
    QLineEdit* txtTotalEstoqueCompra;
    QLineEdit* txtTotalEstoqueVenda;
    ui::DBImage* DBImage1;
    QLineEdit* txtDescricao;
    data::SqlQuery* QMovimentacao;
    data::SqlQuery* QFoto;
    data::SqlQuery* QAtualizaFoto;
    data::ClientDataSet* TBFoto;
    data::DataSource* DSFoto;
    ui::ScanDetector* scanner; // a bar code scanned on the list page

    void navegar() override;
    void editar() override;
    void btnAlterarClick() override;
    void btnSalvarClick() override;
    void btnCancelarClick() override;
    void btnExcluirClick() override;
    void btnConsultarClick() override;
    void btnFornecedorClick();
    void btnGrupoClick();
    void btnSubgrupoClick();
    void btnEtiquetasClick();
    void DBImage1Click();
    void DBLookupComboBox1Click(); // a group chosen: the subgroup list offers only its subgroups
    void txtDescricaoChange();
    void atualizar_totais();
    // A scan on the list page finds the products of that bar code at once, no other column.
    void codeScanned(const QString& code);
    // Opened to register the product of a bar code no product has: as shown, "Novo" with it.
    void novoComCodigoDeBarras(const QString& code) { barCodeForNew_ = code; }

    // True when every character is a digit (an empty text counts as numeric).
    static bool IsNumeric(const QString& text);

protected:
    void FormShow() override;
    void openLookups() override;
    void gridDoubleClick() override { pickRow(); }
    void gridEnter() override { pickRow(); }
    void TabSheet1Show() override;
    void TabSheet2Show() override;
    void afterClose() override {
        removeFilter();
        dropSubgroupFilter();
    }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pickRow();
    void dropSubgroupFilter();
    void showOnlyPage(QWidget* page);
    void reloadPicture();
    // Whether the typed bar code may be stored: not another product's, and a check digit that
    // checks or the user's word that the code is right.
    bool barCodeAccepted();

    QString barCodeForNew_;
    QString barCodeAtEdit_; // as it was when editing began
};

extern TFProdutos* FProdutos;
