#include "app/main_window.h"
#include "admin/backup_window.h"
#include "admin/database_files.h"
#include "admin/database_settings_window.h"
#include "admin/download_file.h"
#include "admin/update_check.h"
#include "admin/users_window.h"
#include "app/about_window.h"
#include "charts/charts_window.h"
#include "core/access.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "imports/import_window.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/radio_group.h"
#include "registers/company_window.h"
#include "registers/cost_centres_window.h"
#include "registers/customers_window.h"
#include "registers/products_window.h"
#include "registers/subgroups_window.h"
#include "registers/suppliers_window.h"
#include "reports/cost_centre_report_filter_window.h"
#include "reports/labels_window.h"
#include "reports/movement_report_commands.h"
#include "reports/movement_report_filter_window.h"
#include "reports/simple_stock_report_filter_window.h"
#include "reports/stock_report_filter_window.h"
#include "stock/change_history_window.h"
#include "stock/exit_window.h"
#include "stock/movement_query_window.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

TFMenu* FMenu = nullptr;

TFMenu::TFMenu(QWidget* parent) : ui::Form(parent, QStringLiteral("FMenu")) {
    setWindowTitle(QStringLiteral("Quiru"));
    setWindowFlags(Qt::Window);
    QFont arial = font(); // the program's size, in Arial
    arial.setFamily(QStringLiteral("Arial"));
    setFont(arial);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setNativeMenuBar(false);

    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Box);
    auto* tools = new QHBoxLayout(Panel1);
    tools->setContentsMargins(4, 4, 4, 4);
    tools->setSpacing(2);
    btnProdutos = toolButton("btnProdutos", QStringLiteral("Produtos"), "emblem-package");
    btnContato = toolButton("btnContato", QStringLiteral("Clientes"), "system-users");
    btnFornecedores =
        toolButton("btnFornecedores", QStringLiteral("Fornecedores"), "address-book-new");
    btnEntradas = toolButton("btnEntradas", QStringLiteral("Entrada de Produtos"), "go-down");
    btnSaidas = toolButton("btnSaidas", QStringLiteral("Saída de Produtos"), "go-up");
    btnRelatorioEstoque = toolButton("btnRelatorioEstoque", QStringLiteral("Relatório Estoque"),
                                     "document-print-preview");
    btnAtualizar = toolButton("btnAtualizar", QStringLiteral("Baixar Atualização"),
                              "software-update-available");
    for (QToolButton* b : {btnProdutos, btnContato, btnFornecedores, btnEntradas, btnSaidas,
                           btnRelatorioEstoque, btnAtualizar})
        tools->addWidget(b);
    tools->addStretch();
    ui::connectGuarded(btnProdutos, &QToolButton::clicked, this, [this] { btnProdutosClick(); });
    ui::connectGuarded(btnContato, &QToolButton::clicked, this, [this] { btnContatoClick(); });
    ui::connectGuarded(btnFornecedores, &QToolButton::clicked, this,
                       [this] { btnFornecedoresClick(); });
    ui::connectGuarded(btnEntradas, &QToolButton::clicked, this, [this] { btnEntradasClick(); });
    ui::connectGuarded(btnSaidas, &QToolButton::clicked, this, [this] { btnSaidasClick(); });
    ui::connectGuarded(btnRelatorioEstoque, &QToolButton::clicked, this,
                       [this] { btnRelatorioEstoqueClick(); });
    ui::connectGuarded(btnAtualizar, &QToolButton::clicked, this, [this] { btnAtualizarClick(); });

    background_.load(QStringLiteral(":/app/fundo.jpg"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setMinimumSize(1, 1);
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    auto* Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Box);
    auto* status = new QHBoxLayout(Panel2);
    status->setContentsMargins(2, 2, 2, 2);
    status->addStretch();
    auto* Panel4 = new QFrame(Panel2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameShape(QFrame::Panel);
    Panel4->setFixedWidth(90);
    txtData = new QLabel(QStringLiteral("Data"), Panel4);
    txtData->setObjectName(QStringLiteral("txtData"));
    (new QHBoxLayout(Panel4))->addWidget(txtData, 0, Qt::AlignCenter);
    auto* Panel3 = new QFrame(Panel2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFixedWidth(80);
    txtHorario = new QLabel(QStringLiteral("Horário"), Panel3);
    txtHorario->setObjectName(QStringLiteral("txtHorario"));
    (new QHBoxLayout(Panel3))->addWidget(txtHorario, 0, Qt::AlignCenter);
    status->addWidget(Panel4);
    status->addWidget(Panel3);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Panel1);
    layout->addWidget(Image1, 1);
    layout->addWidget(Panel2);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    DownloadFile1 = new TDownloadFile(this);
    DownloadFile1->setObjectName(QStringLiteral("DownloadFile1"));
    TimerBackup = new QTimer(this);
    TimerBackup->setObjectName(QStringLiteral("TimerBackup"));
    ui::connectGuarded(TimerBackup, &QTimer::timeout, this, [this] { TimerBackupTimer(); });

    buildMenus();
    resize(1024, 700);
    setWindowState(Qt::WindowMaximized);
}

TFMenu::~TFMenu() {
    if (FMenu == this)
        FMenu = nullptr;
}

QToolButton* TFMenu::toolButton(const char* name, const QString& caption, const char* icon) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
    b->setIconSize(QSize(40, 40));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFixedSize(110, 85);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

void TFMenu::buildMenus() {
    struct Item {
        const char* name; // object name of the menu item
        QString caption;  // empty: separator
        QString shortcut; // as shown; empty: none
        const char* icon;
        void (TFMenu::*handler)();
        bool displayOnly = false; // the shortcut is shown but belongs to another item
    };
    struct Menu {
        QString caption;
        std::vector<Item> items;
    };
    const QString sep;
    const std::vector<Menu> menus = {
        {QStringLiteral("Cadastros"),
         {{"Produtos1", "Produtos", "F1", "emblem-package", &TFMenu::btnProdutosClick},
          {"Grupos1", "Grupos", "F2", "folder-new", &TFMenu::Grupos1Click},
          {"Subgrupos1", "Subgrupos", "F3", "folder-visiting", &TFMenu::Subgrupos1Click},
          {"N1", sep, {}, "", nullptr},
          {"Fornecedores1", "Fornecedores", "F5", "address-book-new",
           &TFMenu::btnFornecedoresClick},
          {"Contatos1", "Clientes", "F6", "system-users", &TFMenu::btnContatoClick},
          {"N2", sep, {}, "", nullptr},
          {"Empresa1", "Empresa", "F7", "go-home", &TFMenu::Empresa1Click},
          {"CentrodeCustos1", "Centro de Custos", "F8", "emblem-system",
           &TFMenu::CentrodeCustos1Click},
          {"N8", sep, {}, "", nullptr},
          {"Importar1", "Importar", {}, "document-open", &TFMenu::Importar1Click}}},
        {QStringLiteral("Movimentações"),
         {{"EntradadeProdutos1", "Entrada de Produtos", "Ctrl+E", "go-down",
           &TFMenu::btnEntradasClick},
          {"SadadeProdutos1", "Saída de Produtos", "Ctrl+S", "go-up", &TFMenu::btnSaidasClick},
          {"N3", sep, {}, "", nullptr},
          {"ConsultadeEntradas1", "Consulta de Entradas", "Ctrl+N", "edit-find",
           &TFMenu::ConsultadeEntradas1Click},
          {"ConsultadeSadas1", "Consulta de Saídas", "Ctrl+A", "edit-find",
           &TFMenu::ConsultadeSadas1Click}}},
        {QStringLiteral("Relatórios"),
         {{"RelatriodeMovimentaes1", "Relatório de Movimentações", "Shift+M", "document-print",
           &TFMenu::RelatriodeMovimentaes1Click},
          {"RelatriodeEstoqueSimples1",
           "Relatório de Estoque Simples",
           {},
           "document-print",
           &TFMenu::RelatriodeEstoqueSimples1Click},
          {"RelatriodeEstoque1", "Relatório de Estoque Detalhado", "Shift+Q",
           "document-print-preview", &TFMenu::btnRelatorioEstoqueClick},
          {"Etiquetas1", "Etiquetas", {}, "document-print", &TFMenu::Etiquetas1Click},
          // Shown with Shift+M, but the key runs the movement report above.
          {"GrficosdeMovimentaeseEstoque1", "Gráficos de Movimentações e Estoque", "Shift+M",
           "applications-office", &TFMenu::GrficosdeMovimentaeseEstoque1Click, true},
          {"N4", sep, {}, "", nullptr},
          {"RelatriodeEntradas1", "Relatório de Entradas", "Shift+E", "document-print",
           &TFMenu::RelatriodeEntradas1Click},
          {"RelatriodeSadas1", "Relatório de Saídas", "Shift+S", "document-print",
           &TFMenu::RelatriodeSadas1Click},
          {"N5", sep, {}, "", nullptr},
          {"RelatriodeClientes1", "Relatório de Clientes", "Shift+C", "document-print",
           &TFMenu::RelatriodeClientes1Click},
          {"RelatriodeFornecedores1", "Relatório de Fornecedores", "Shift+F", "document-print",
           &TFMenu::RelatriodeFornecedores1Click},
          {"N6", sep, {}, "", nullptr},
          {"RelatriodeProdutos2", "Relatório de Produtos", "Shift+P", "document-print",
           &TFMenu::RelatriodeProdutos2Click},
          {"RelatriodeGrupos2", "Relatório de Grupos", "Shift+G", "document-print",
           &TFMenu::RelatriodeGrupos2Click},
          {"RelatriodeSubgrupos1", "Relatório de Subgrupos", "Shift+U", "document-print",
           &TFMenu::RelatriodeSubgrupos1Click},
          {"N7", sep, {}, "", nullptr},
          {"RelatriodeCentrodeCustos1", "Relatório de Centro de Custos", "Shift+N",
           "document-print", &TFMenu::RelatriodeCentrodeCustos1Click}}},
        {QStringLiteral("Sistema"),
         {{"Sobre1", "Sobre", {}, "help-about", &TFMenu::Sobre1Click},
          {"Usurios1", "Usuários", {}, "system-users", &TFMenu::Usurios1Click},
          {"HistoricodeAlteracoes1",
           "Histórico de Alterações",
           {},
           "document-open-recent",
           &TFMenu::HistoricodeAlteracoes1Click}}},
        {QStringLiteral("Configurações"),
         {{"BancodeDados1",
           "Banco de Dados",
           {},
           "preferences-system",
           &TFMenu::BancodeDados1Click},
          {"RealizarRestaurarBackup1",
           "Realizar/Restaurar Backup",
           {},
           "document-save",
           &TFMenu::RealizarRestaurarBackup1Click}}},
    };
    for (const Menu& m : menus) {
        QMenu* menu = MainMenu1->addMenu(m.caption);
        for (const Item& item : m.items) {
            if (item.caption.isEmpty()) {
                menu->addSeparator()->setObjectName(QString::fromLatin1(item.name));
                continue;
            }
            QString text = item.caption;
            if (item.displayOnly)
                text += '\t' + item.shortcut; // Qt shows the text after a tab as the shortcut
            QAction* action =
                menu->addAction(QIcon::fromTheme(QString::fromLatin1(item.icon)), text);
            action->setObjectName(QString::fromLatin1(item.name));
            if (!item.shortcut.isEmpty() && !item.displayOnly) {
                action->setShortcut(QKeySequence(item.shortcut));
                action->setShortcutContext(Qt::WindowShortcut);
            }
            auto handler = item.handler;
            ui::connectGuarded(action, &QAction::triggered, this,
                               [this, handler] { (this->*handler)(); });
        }
    }
    QAction* Sair1 = MainMenu1->addAction(QStringLiteral("Sair"));
    Sair1->setObjectName(QStringLiteral("Sair1"));
    ui::connectGuarded(Sair1, &QAction::triggered, this, [this] { Sair1Click(); });
    // F10 opens the menu bar for the keyboard, on its first menu; the arrows walk it from there.
    auto* menuKey = new QAction(this);
    menuKey->setObjectName(QStringLiteral("AbrirMenu"));
    menuKey->setShortcut(Qt::Key_F10);
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, MainMenu1, [this] {
        MainMenu1->setFocus(Qt::ShortcutFocusReason);
        MainMenu1->setActiveAction(MainMenu1->actions().value(0));
    });
    // Menu-bar actions only fire while reachable; keep them on the window itself too.
    for (QAction* a : MainMenu1->findChildren<QAction*>())
        if (!a->shortcut().isEmpty())
            addAction(a);
}

void TFMenu::FormShow() {
    DM->TBEMPRESA->open();
    DM->TBCONFIG->close();
    DM->TBCONFIG->open();
    TimerBackup->stop();
    // An empty or zero interval means no automatic backup (a 0 ms timer would fire on every turn
    // of the event loop); a very long one waits as long as a timer can.
    const qint64 minutes = DM->TBCONFIG->field(QStringLiteral("INTERVALO_BACKUP")).asInteger();
    if (DM->TBCONFIG->field(QStringLiteral("BACKUP_AUTOMATICO")).asString() ==
            QLatin1String("SIM") &&
        minutes > 0) {
        // Qt's timer holds at most INT_MAX ms (24 days); a longer interval is counted in ticks.
        const qint64 ms = minutes * 60000;
        backupTicks_ = int((ms + INT_MAX - 1) / INT_MAX);
        ticksToBackup_ = backupTicks_;
        TimerBackup->setInterval(int(ms / backupTicks_));
        TimerBackup->start();
    }
    Timer1Timer();
    Timer1->start();
    DM->TBVERSAO->open();
    DM->TBVERSAO->first();
    setWindowTitle(QStringLiteral("Quiru ") +
                   DM->TBVERSAO->field(QStringLiteral("VERSAO")).asString());
}

void TFMenu::Timer1Timer() {
    const QDateTime now = QDateTime::currentDateTime();
    txtData->setText(now.toString(QStringLiteral("dd/MM/yyyy")));
    txtHorario->setText(now.toString(QStringLiteral("hh:mm:ss")));
}

void TFMenu::TimerBackupTimer() {
    if (--ticksToBackup_ > 0)
        return;
    ticksToBackup_ = backupTicks_;
    DM->TBCONFIG->close();
    DM->TBCONFIG->open();
    const QString source = DM->TBCONFIG->field(QStringLiteral("LOCAL_BANCO_DADOS")).asString();
    if (admin::isServerPath(source)) {
        // Said once: a copy of a server's live file is no backup, and every tick would be one.
        TimerBackup->stop();
        ui::dialogs().message(this, admin::serverDatabaseMessage());
        return;
    }
    admin::automaticBackup(*DM->SQLConnection1, source,
                           DM->TBCONFIG->field(QStringLiteral("LOCAL_BACKUP_BANCO")).asString());
}

void TFMenu::resizeEvent(QResizeEvent* event) {
    ui::Form::resizeEvent(event);
    if (!background_.isNull() && Image1->width() > 1)
        Image1->setPixmap(
            background_.scaled(Image1->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void TFMenu::FormClose() {
    Timer1->stop();
    TimerBackup->stop();
    QCoreApplication::quit(); // closing the main window ends the program
}

// ------------------------------------------------------------------ commands

void TFMenu::setMovementFilter(const QString& filter) {
    DM->TBMOVIMENTACAO->setFiltered(false);
    DM->TBMOVIMENTACAO->setFilter(filter);
    DM->TBMOVIMENTACAO->setFiltered(true);
}

void TFMenu::btnProdutosClick() {
    modo_selecao = false;
    selecionar_produto = false;
    ui::openModal(this, FProdutos);
}

void TFMenu::btnContatoClick() {
    modo_selecao = false;
    ui::openModal(this, FCliente);
}
void TFMenu::btnFornecedoresClick() {
    modo_selecao = false;
    ui::openModal(this, FFornecedor);
}
void TFMenu::Grupos1Click() {
    modo_selecao = false;
    ui::openModal(this, FGrupo);
}
void TFMenu::Subgrupos1Click() {
    modo_selecao = false;
    ui::openModal(this, FSubGrupo);
}
void TFMenu::Empresa1Click() {
    ui::openModal(this, FEmpresa);
}
void TFMenu::CentrodeCustos1Click() {
    ui::openModal(this, FCentroCusto);
}
void TFMenu::Importar1Click() {
    // An import changes registers wholesale: administrators only.
    if (administratorOnly(this))
        ui::openModal(this, FImportar);
}

void TFMenu::btnEntradasClick() {
    setMovementFilter(QStringLiteral("TIPO = 'ENTRADA'"));
    ui::openModal(this, FEntrada);
}
void TFMenu::btnSaidasClick() {
    setMovementFilter(QStringLiteral("TIPO = 'SAIDA'"));
    ui::openModal(this, FSaida);
}

void TFMenu::ConsultadeEntradas1Click() {
    consulta_entradas = 1;
    // The query's closing locate sees only what the shared filter lets through, which the last
    // entry or exit window may have left on the other kind: filter on the kind queried.
    setMovementFilter(QStringLiteral("TIPO = 'ENTRADA'"));
    ui::openModal(this, FConsultaMovimentacoes);
    locateProductOfCurrentMovement();
}
void TFMenu::ConsultadeSadas1Click() {
    consulta_entradas = 0;
    setMovementFilter(QStringLiteral("TIPO = 'SAIDA'"));
    ui::openModal(this, FConsultaMovimentacoes);
    locateProductOfCurrentMovement();
}

// Each report command presets the filter window in its own order: the radio groups may react.
void TFMenu::RelatriodeMovimentaes1Click() {
    openStockMovementReport(this);
}

void TFMenu::RelatriodeEntradas1Click() {
    openMovementReportFilter(this, [](TFFiltroMovimentacoes* w) {
        w->RGFiltro->setItemIndex(7);
        w->RGRelatorio->setItemIndex(0);
        w->setWindowTitle(QStringLiteral("Relatório de Entradas"));
    });
}

void TFMenu::RelatriodeSadas1Click() {
    openMovementReportFilter(this, [](TFFiltroMovimentacoes* w) {
        w->RGFiltro->setItemIndex(7);
        w->RGRelatorio->setItemIndex(1);
        w->setWindowTitle(QStringLiteral("Relatório de Saídas"));
    });
}

// The by-record reports: which movements, then what to filter by.
void TFMenu::openRecordReport(const QString& caption, int relatorio, int filtro) {
    openMovementReportFilter(this, [&](TFFiltroMovimentacoes* w) {
        w->RGRelatorio->setItemIndex(relatorio);
        w->RGFiltro->setItemIndex(filtro);
        w->setWindowTitle(caption);
    });
}

void TFMenu::RelatriodeClientes1Click() {
    openRecordReport(QStringLiteral("Relatório de Clientes"), 1, 4);
}
void TFMenu::RelatriodeFornecedores1Click() {
    openRecordReport(QStringLiteral("Relatório de Fornecedores"), 0, 3);
}
void TFMenu::RelatriodeProdutos2Click() {
    openRecordReport(QStringLiteral("Relatório de Produtos"), 2, 0);
}
void TFMenu::RelatriodeGrupos2Click() {
    openRecordReport(QStringLiteral("Relatório de Grupos"), 2, 1);
}
void TFMenu::RelatriodeSubgrupos1Click() {
    openRecordReport(QStringLiteral("Relatório de Subgrupos"), 2, 2);
}

void TFMenu::btnRelatorioEstoqueClick() {
    ui::openModal(this, FFiltroEstoque);
}
void TFMenu::RelatriodeEstoqueSimples1Click() {
    ui::openModal(this, FFiltroEstoqueSimples);
}
void TFMenu::Etiquetas1Click() {
    ui::openModal(this, FEtiquetas);
}
void TFMenu::GrficosdeMovimentaeseEstoque1Click() {
    ui::openModal(this, FGraficos);
}
void TFMenu::RelatriodeCentrodeCustos1Click() {
    ui::openModal(this, FFiltroCentroCusto);
}
void TFMenu::btnAtualizarClick() {
    checkForUpdate(this, *DownloadFile1);
}
void TFMenu::BancodeDados1Click() {
    // The settings decide which file the automatic backup copies over: administrators only.
    if (administratorOnly(this))
        ui::openModal(this, FBancoDeDados);
}
void TFMenu::RealizarRestaurarBackup1Click() {
    ui::openModal(this, FBackup);
}

void TFMenu::Sobre1Click() {
    ui::openModal(this, FSobre);
}

void TFMenu::HistoricodeAlteracoes1Click() {
    // Who changed what is for administrators to see.
    if (administratorOnly(this))
        ui::openModal<TFHistoricoAlteracoes>(this, [](TFHistoricoAlteracoes*) {});
}

void TFMenu::Usurios1Click() {
    switch (loggedUserKind()) {
    case UserKind::Unknown: // his own login renamed: nothing to say
        return;
    case UserKind::Ordinary:
        tellAdministratorsOnly(this);
        return;
    case UserKind::Administrator:
        ui::openModal(this, FUsuarios);
    }
}

void TFMenu::Sair1Click() {
    close();
}
