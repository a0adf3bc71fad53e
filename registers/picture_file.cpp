#include "registers/picture_file.h"
#include "platform/ui/dialogs.h"
#include <QFile>
#include <QImage>
#include <stdexcept>

QString choosePictureFile(QWidget* parent) {
    return ui::dialogs().choosePicture(
        parent, QStringLiteral("Imagens (*.bmp *.png *.jpg *.jpeg);;Bitmaps (*.bmp)"));
}

QByteArray readPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Não foi possível ler o arquivo %1.").arg(path).toStdString());
    if (file.size() > kMaxPictureBytes)
        throw std::runtime_error(
            QStringLiteral("A imagem tem mais de 1 MB e não pode ser salva. Escolha uma imagem "
                           "menor.")
                .toStdString());
    const QByteArray bytes = file.readAll();
    if (QImage::fromData(bytes).isNull())
        throw std::runtime_error(
            QStringLiteral("O arquivo %1 não é uma imagem.").arg(path).toStdString());
    return bytes;
}
