#pragma once
// The window users work from: menus, the tool bar, the clock and the automatic-backup timer.
// Every command opens its window modally, after the presets that window expects.
#include "platform/ui/form.h"

class QLabel;
class TDownloadFile;
class QMenuBar;
class QTimer;
class QToolButton;

class TFMenu : public ui::Form {
    Q_OBJECT
public:
    explicit TFMenu(QWidget* parent = nullptr);
    ~TFMenu() override;

    QMenuBar* MainMenu1;
    QToolButton* btnProdutos;
    QToolButton* btnContato;
    QToolButton* btnFornecedores;
    QToolButton* btnEntradas;
    QToolButton* btnSaidas;
    QToolButton* btnRelatorioEstoque;
    QToolButton* btnAtualizar;
    QLabel* Image1;
    QLabel* txtData;
    QLabel* txtHorario;
    QTimer* Timer1;
    QTimer* TimerBackup;
    TDownloadFile* DownloadFile1;

    // Commands, one per menu item or button.
    void btnProdutosClick();
    void btnContatoClick();
    void btnFornecedoresClick();
    void btnEntradasClick();
    void btnSaidasClick();
    void btnRelatorioEstoqueClick();
    void btnAtualizarClick();
    void Grupos1Click();
    void Subgrupos1Click();
    void Empresa1Click();
    void CentrodeCustos1Click();
    void Importar1Click();
    void ConsultadeEntradas1Click();
    void ConsultadeSadas1Click();
    void RelatriodeMovimentaes1Click();
    void RelatriodeEstoqueSimples1Click();
    void Etiquetas1Click();
    void GrficosdeMovimentaeseEstoque1Click();
    void RelatriodeEntradas1Click();
    void RelatriodeSadas1Click();
    void RelatriodeClientes1Click();
    void RelatriodeFornecedores1Click();
    void RelatriodeProdutos2Click();
    void RelatriodeGrupos2Click();
    void RelatriodeSubgrupos1Click();
    void RelatriodeCentrodeCustos1Click();
    void Sobre1Click();
    void Usurios1Click();
    void HistoricodeAlteracoes1Click();
    void BancodeDados1Click();
    void RealizarRestaurarBackup1Click();
    void Sair1Click();
    void Timer1Timer();
    void TimerBackupTimer();

protected:
    void FormShow() override;
    void FormClose() override; // ends the program
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    QToolButton* toolButton(const char* name, const QString& caption, const char* icon);
    void openRecordReport(const QString& caption, int relatorio, int filtro);
    void setMovementFilter(const QString& filter);
    QPixmap background_;
    int backupTicks_ = 1;   // timer ticks per automatic backup
    int ticksToBackup_ = 1; // until the next one
};

extern TFMenu* FMenu;
