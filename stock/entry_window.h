#pragma once
// Records goods coming in. Each saved, changed or deleted entry moves its product's current
// stock at once, together with the movement in one transaction: an entry adds its quantity,
// an exit (the window built on this one) takes it away. Going past the product's limit asks
// first. The window browses only its own kind of movement.
#include "registers/register_window.h"
#include "stock/stock_rule.h"
#include <vector>

class QAction;
class QLabel;
class QPushButton;
struct BarCodeOwner;
namespace ui {
class ScanDetector;
}

class TFEntrada : public RegisterWindow {
    Q_OBJECT
public:
    explicit TFEntrada(QWidget* parent = nullptr);

    ui::DBEdit* DBEdit2;                     // PRODUTO
    ui::DBEdit* DBEdit3;                     // NOTA_COMPRA
    ui::DBEdit* DBEdit4;                     // DATA
    ui::DBEdit* DBEdit5;                     // QUANTIDADE
    ui::DBEdit* DBEdit6;                     // PRECO_UNITARIO
    ui::DBEdit* DBEdit7;                     // PRECO_TOTAL
    ui::DBEdit* DBEdit8;                     // FORNECEDOR
    ui::DBEdit* DBEdit9;                     // HORARIO
    ui::DBEdit* DBEdit20;                    // CENTRO_CUSTO
    ui::DBLookupComboBox* DBLookupComboBox1; // products
    ui::DBLookupComboBox* DBLookupComboBox2; // suppliers
    ui::DBLookupComboBox* DBLookupComboBox4; // cost centres
    QPushButton* btnProduto;
    QPushButton* btnFornecedor;
    QPushButton* btnCentroCusto;
    QLineEdit* Edit2;
    QLineEdit* Edit5;
    QAction* N2;               // "<"
    QAction* N3;               // ">"
    ui::ScanDetector* scanner; // a bar code scanned anywhere in the window

    // The stored quantity and product of the movement when "Alterar" was pressed.
    double quantidade_anterior = 0;
    QVariant produto_anterior;

    void btnNovoClick() override;
    void btnAlterarClick() override;
    void btnSalvarClick() override;
    void btnExcluirClick() override;
    void btnConsultarClick() override;
    void btnProdutoClick();
    virtual void btnFornecedorClick();
    void btnCentroCustoClick();
    void DBLookupComboBox1Click();
    void DBLookupComboBox1Exit();
    void DBEdit2Change();
    void DBNavigator1Click();
    // A scanned bar code: starts or continues a movement of its product (see scan_decision.h).
    void codeScanned(const QString& code);

protected:
    struct Kind {
        const char* objectName;
        QString caption;
        QString tipo; // "ENTRADA" or "SAIDA"
        stock::Kind kind;
        QString filter; // the rows the window browses
        QString price;  // the product's price proposed as the unit price
    };
    TFEntrada(QWidget* parent, const Kind& kind);

    // Asked when the product's new stock goes past its limit.
    virtual QString limitQuestion() const;

    QLineEdit* focusSink() const override { return Edit5; }
    void setDefaults() override;
    void openLookups() override;

    // The movement's product read again from the database and made current in TBPRODUTOS;
    // false when there is no such product.
    bool freshProduct(const QVariant& code);
    void updateTotal();

    QLabel* partyLabel; // "FORNECEDOR", the label of the row the exit uses for its customer
    QWidget* partyCell;
    QLineEdit* saveSink; // where "Salvar" moves the focus first, committing what is typed

private:
    // Moves the products' stock as planned; false when the user refused the limit question and
    // the save was cancelled.
    bool bookStock(const stock::StockPlan& plan);
    bool confirmLimit(); // about the current product
    void showOwnKind();
    void proposePrice(); // the product's price as the unit price, and the total
    // The movement's product read again; an entry's supplier, then the price proposed.
    void proposeFromProduct();
    void proposeFromCurrentProduct(); // from the row current in TBPRODUTOS
    void scanFound(const QString& code, const std::vector<BarCodeOwner>& owners);
    void takeScannedProduct(int product); // the product, its proposals, quantity 1
    void unknownCode(const QString& code);
    void focusQuantity();
    void saveNew(double quantity);
    void saveChanged(double quantity);

    Kind kind_;
};

extern TFEntrada* FEntrada;
