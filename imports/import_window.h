#pragma once
// "Importar": brings products, suppliers or customers in from a sheet (.xlsx) or a text table
// (.csv, .txt). The user chooses what and the file; the separator and encoding of a text file
// are shown and may be changed; each column's field is shown and may be changed (and is
// remembered for the next file with the same headers); the keys that find stored records are
// chosen; the preview shows every row as it will be stored. "Importar" stores it all at once.
#include "imports/import_file.h"
#include "imports/import_plan.h"
#include "platform/ui/form.h"
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class QHBoxLayout;

namespace ui {
class RadioGroup;
}

namespace imports {
class MappingMemory;
class PreviewModel;
} // namespace imports

class TFImportar : public ui::Form {
    Q_OBJECT
public:
    explicit TFImportar(QWidget* parent = nullptr);
    ~TFImportar() override;

    ui::RadioGroup* RGCadastro; // PRODUTOS, FORNECEDORES, CLIENTES
    QLineEdit* txtArquivo;
    QPushButton* btnArquivo;
    QPushButton* btnLerNovamente;
    QComboBox* cbSeparador;
    QComboBox* cbCodificacao;
    QGroupBox* GBChaves;       // one check box per key, named chk + column
    QTableWidget* gridColunas; // per column of the file: header, field (cbCampo<n>), example
    QLabel* lblResumo;
    QComboBox* cbMostrar;
    QTableView* gridPrevia;
    QLabel* lblCriar;
    QPushButton* btnSalvarRecusadas;
    QPushButton* btnImportar;
    QPushButton* btnSair;

    void btnArquivoClick();
    void btnLerNovamenteClick();
    void btnSalvarRecusadasClick();
    void btnImportarClick();

    const imports::ImportPlan* plan() const { return plan_.get(); }

private:
    imports::Register what() const;
    void lerArquivo(const QString& path, std::optional<spreadsheet::CsvFormat> format);
    void formatoEscolhido();
    void cadastroEscolhido();
    void montarChaves();
    void montarColunas();
    void campoEscolhido(int column, int item);
    void montarPrevia();
    void mostrarResumo();

    std::unique_ptr<imports::MappingMemory> memory_;
    std::optional<imports::ImportFile> file_;
    QStringList mapping_; // per column of the file: the field's column, "" for none
    std::unique_ptr<imports::ImportPlan> plan_;
    imports::PreviewModel* model_;
    QHBoxLayout* keysLayout_;
    bool filling_ = false; // controls set by the window, not the user
};

extern TFImportar* FImportar;
