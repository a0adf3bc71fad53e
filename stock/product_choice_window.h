#pragma once
// Asks which of several products a scanned bar code means (a file an older program filled may
// give two products one code): the list of them, Enter or a double-click picks, Esc gives up.
#include "core/product_bar_codes.h"
#include "platform/ui/form.h"
#include <optional>

class QListWidget;
class QPushButton;

class TFEscolhaProduto : public ui::Form {
    Q_OBJECT
public:
    explicit TFEscolhaProduto(QWidget* parent = nullptr);

    QListWidget* lstProdutos;
    QPushButton* btnOK;
    QPushButton* btnCancelar;

    void setChoices(const QString& barCode, const std::vector<BarCodeOwner>& products);
    std::optional<int> escolhido() const { return chosen_; } // the product's code

private:
    void choose();

    std::vector<BarCodeOwner> products_;
    std::optional<int> chosen_;
    class QLabel* text_;
};

// Opens the window modally; the product chosen, or none when the user gave up.
std::optional<int> chooseProduct(QWidget* owner, const QString& barCode,
                                 const std::vector<BarCodeOwner>& products);
