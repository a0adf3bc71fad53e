// The handler guard and the dialogs service: exceptions become error boxes, questions and
// nested windows are answered by the test's script, and Qt's own buttons speak Portuguese.
#include "platform/data/errors.h"
#include "platform/ui/guard.h"
#include "platform/ui/translations.h"
#include "widget_fixture.h"
#include <QLineEdit>
#include <QPushButton>

namespace {

class GuardAndDialogs : public fixture::UiTest {};

TEST_F(GuardAndDialogs, HandlerExceptionsBecomeErrorBoxes) {
    auto* button = add(new QPushButton("Salvar"), "btnSalvar");
    int step = 0;
    const std::function<void()> throwers[] = {
        [&] {
            throw data::DatabaseError("Já existe um registro com este código ou chave.",
                                      "violation of PRIMARY or UNIQUE KEY constraint");
        },
        [&] { throw std::runtime_error("falhou"); },
        [&] { throw 42; },
    };
    ui::connectGuarded(button, &QPushButton::clicked, &window, [&] {
        ++step;
        throwers[step - 1]();
        ++step; // never reached: the command stops where it failed
    });
    for (int i = 0; i < 3; ++i)
        button->click();
    EXPECT_EQ(step, 3);
    ASSERT_EQ(dialogs.errors().size(), 3u);
    EXPECT_EQ(dialogs.errors()[0].text, "Já existe um registro com este código ou chave.");
    EXPECT_EQ(dialogs.errors()[0].detail, "violation of PRIMARY or UNIQUE KEY constraint");
    EXPECT_EQ(dialogs.errors()[1].text, "falhou");
    EXPECT_EQ(dialogs.errors()[2].text, "Ocorreu um erro inesperado.");

    EXPECT_TRUE(ui::runGuarded([] {}));
    EXPECT_FALSE(ui::runGuarded([] { throw std::runtime_error("x"); }));
}

struct Counter : QObject {
    int clicks = 0;
    void onClick() { ++clicks; }
    void onText(const QString& text) { last = text; }
    QString last;
};

TEST_F(GuardAndDialogs, MemberHandlersWithAndWithoutArguments) {
    auto* edit = add(new QLineEdit, "Edit1");
    Counter counter;
    ui::connectGuarded(edit, &QLineEdit::returnPressed, &counter, &Counter::onClick);
    ui::connectGuarded(edit, &QLineEdit::textChanged, &counter, &Counter::onText);
    edit->setText("abc");
    emit edit->returnPressed();
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(counter.last, "abc");
}

TEST_F(GuardAndDialogs, ExceptionOutsideAnyGuardIsCaughtByTheApplication) {
    struct Throwing : QWidget {
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User)
                throw std::runtime_error("escapou");
            return QWidget::event(e);
        }
    } widget;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&widget, &event);
    ASSERT_EQ(dialogs.errors().size(), 1u);
    EXPECT_EQ(dialogs.errors()[0].text, "escapou");
}

// A window that asks a question and opens a nested window to pick a value, as the register
// windows do.
class Opener : public QDialog {
public:
    Opener() {
        setObjectName("TFOpener");
        auto* layout = new QVBoxLayout(this);
        chosen = new QLineEdit(this);
        layout->addWidget(chosen);
    }
    void pick() {
        if (!ui::dialogs().question(this, "Atenção", "Deseja escolher?"))
            return;
        QDialog picker(this);
        picker.setObjectName("TFPicker");
        auto* layout = new QVBoxLayout(&picker);
        auto* value = new QLineEdit(&picker);
        value->setObjectName("Edit1");
        layout->addWidget(value);
        auto* ok = new QPushButton("OK", &picker);
        ok->setObjectName("btnOk");
        layout->addWidget(ok);
        QObject::connect(ok, &QPushButton::clicked, &picker, &QDialog::accept);
        if (ui::dialogs().showModal(&picker) == QDialog::Accepted)
            chosen->setText(value->text());
    }
    QLineEdit* chosen;
};

TEST_F(GuardAndDialogs, ScriptAnswersQuestionsAndActsInNestedWindows) {
    Opener opener;
    testing_support::activate(&opener);

    dialogs.answer(false);
    opener.pick();
    EXPECT_TRUE(opener.chosen->text().isEmpty());

    dialogs.answer(true);
    dialogs.onModal("TFPicker", [](QDialog* picker) {
        EXPECT_EQ(QApplication::activeWindow(), picker);
        auto* value = testing_support::find<QLineEdit>(picker, "Edit1");
        testing_support::focus(value);
        testing_support::type(value, "Ótimo");
        testing_support::find<QPushButton>(picker, "btnOk")->click();
    });
    opener.pick();
    EXPECT_EQ(opener.chosen->text(), "Ótimo");
    EXPECT_EQ(QApplication::activeWindow(), &opener);

    dialogs.answer(true); // no script: the window just closes, rejected
    opener.pick();
    EXPECT_EQ(opener.chosen->text(), "Ótimo");

    ASSERT_EQ(dialogs.questions().size(), 3u);
    EXPECT_EQ(dialogs.questions()[0].caption, "Atenção");
    EXPECT_EQ(dialogs.questions()[0].text, "Deseja escolher?");
    EXPECT_FALSE(dialogs.questions()[0].answer);
    EXPECT_EQ(dialogs.windows(), QStringList({"TFPicker", "TFPicker"}));
    EXPECT_TRUE(dialogs.nothingPending());
}

TEST_F(GuardAndDialogs, UnansweredQuestionFailsTheTestAndStopsTheCommand) {
    QStringList failures;
    dialogs.setFailureHandler([&](const QString& what) { failures << what; });
    bool continued = false;
    EXPECT_FALSE(ui::runGuarded([&] {
        ui::dialogs().question(nullptr, "Atenção", "Excluir?");
        continued = true;
    }));
    EXPECT_FALSE(continued);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("Excluir?"));
}

TEST(Translations, QtButtonsInPortuguese) {
    ASSERT_TRUE(ui::installPortugueseTranslations(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Sim");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), "&Não");
}

} // namespace
