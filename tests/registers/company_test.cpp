// The company window's logo: chosen while editing, stored by "Salvar", dropped by "Cancelar".
#include "platform/ui/db_image.h"
#include "registers/company_window.h"
#include "tests/registers/register_fixture.h"
#include <QImage>

namespace {

class Company : public RegisterFixture {
protected:
    QString logo(Qt::GlobalColor colour) {
        const QString path = folder->file(QStringLiteral("logo%1.png").arg(int(colour)));
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path);
        return path;
    }
    QByteArray stored() { return scalar("select LOGO from TEMPRESA").toByteArray(); }
};

TEST_F(Company, LogoIsStoredBySalvarAndDroppedByCancelar) {
    exec("insert into TEMPRESA (CODIGO, RAZAO_SOCIAL) values (1, 'LOJA')");
    auto* w = show<TFEmpresa>();
    testing_support::press(w, QKeySequence(Qt::Key_F9)); // browsing: no dialog
    click(w->btnAlterar);
    dialogs.chooseFile(logo(Qt::blue));
    testing_support::press(w, QKeySequence(Qt::Key_F9));
    EXPECT_TRUE(w->DBImage1->hasPicture());
    EXPECT_TRUE(stored().isEmpty()) << "stored only by Salvar";
    click(w->btnSalvar);
    const QByteArray blue = stored();
    EXPECT_FALSE(blue.isEmpty());

    click(w->btnAlterar);
    dialogs.chooseFile({}); // the dialog cancelled
    QTest::mouseClick(w->DBImage1, Qt::LeftButton);
    dialogs.chooseFile(logo(Qt::green));
    QTest::mouseClick(w->DBImage1, Qt::LeftButton);
    click(w->btnCancelar);
    EXPECT_EQ(stored(), blue);
    EXPECT_EQ(w->dataSet()->field("LOGO").asBlob(), blue);
    EXPECT_TRUE(dialogs.nothingPending());
}

} // namespace
