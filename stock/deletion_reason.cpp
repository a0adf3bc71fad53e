#include "stock/deletion_reason.h"
#include "platform/ui/dialogs.h"
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

QString askDeletionReason(QWidget* parent) {
    QDialog window(parent);
    window.setObjectName(QStringLiteral("FMotivoExclusao"));
    window.setWindowTitle(QStringLiteral("Motivo da exclusão"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Motivo da exclusão (opcional):"), &window));
    auto* reason = new QLineEdit(&window);
    reason->setObjectName(QStringLiteral("edtMotivo"));
    reason->setMaxLength(200); // what the trail keeps
    reason->setMinimumWidth(360);
    layout->addWidget(reason);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &window);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    layout->addWidget(buttons);
    ui::dialogs().showModal(&window);
    return reason->text().simplified();
}
