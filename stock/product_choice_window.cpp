#include "stock/product_choice_window.h"
#include "platform/ui/behaviours.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFEscolhaProduto::TFEscolhaProduto(QWidget* parent)
    : ui::Form(parent, QStringLiteral("FEscolhaProduto")) {
    setWindowTitle(QStringLiteral("Escolha o Produto"));
    setFont(QFont(QStringLiteral("Arial")));
    text_ = new QLabel(this);
    lstProdutos = new QListWidget(this);
    lstProdutos->setObjectName(QStringLiteral("lstProdutos"));
    lstProdutos->setMinimumWidth(420);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(lstProdutos);
    layout->addLayout(buttons);

    ui::connectGuarded(btnOK, &QPushButton::clicked, this, [this] { choose(); });
    ui::connectGuarded(lstProdutos, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
    ui::connectGuarded(btnCancelar, &QPushButton::clicked, this, [this] { close(); });
    ui::attachKeyClick(lstProdutos, {Qt::Key_Return, Qt::Key_Enter}, btnOK);
    ui::addShortcut(this, Qt::Key_Escape, btnCancelar, QStringLiteral("Cancelar1"));
}

void TFEscolhaProduto::setChoices(const QString& barCode,
                                  const std::vector<BarCodeOwner>& products) {
    products_ = products;
    text_->setText(
        QStringLiteral("Mais de um produto tem o código de barras %1. Qual deles é?").arg(barCode));
    lstProdutos->clear();
    for (const BarCodeOwner& p : products_)
        lstProdutos->addItem(p.label());
    lstProdutos->setCurrentRow(0);
    lstProdutos->setFocus();
}

void TFEscolhaProduto::choose() {
    const int row = lstProdutos->currentRow();
    if (row < 0 || row >= int(products_.size()))
        return;
    chosen_ = products_[std::size_t(row)].code;
    close();
}

std::optional<int> chooseProduct(QWidget* owner, const QString& barCode,
                                 const std::vector<BarCodeOwner>& products) {
    TFEscolhaProduto window(owner);
    window.setChoices(barCode, products);
    ui::dialogs().showModal(&window);
    return window.escolhido();
}
