#include "imports/import_target.h"
#include "core/data_module.h"
#include "core/globals.h"
#include <stdexcept>

namespace imports {

namespace {

using K = ValueKind;

struct Spec {
    const char* column;
    const char* label;
    K kind;
    bool upper;
    std::vector<const char*> names; // beyond the label and the column
};

std::vector<TargetField> fieldsOf(data::ClientDataSet* dataset, const std::vector<Spec>& specs) {
    std::vector<TargetField> fields;
    for (const Spec& s : specs) {
        TargetField f;
        f.column = QString::fromLatin1(s.column);
        f.label = QString::fromUtf8(s.label);
        f.kind = s.kind;
        f.upper = s.upper;
        f.names << f.label << f.column;
        for (const char* name : s.names)
            f.names << QString::fromUtf8(name);
        if (s.kind == K::Text || s.kind == K::Memo)
            f.size = dataset->field(f.column).def().size;
        else if (s.kind == K::Reference)
            f.size = (f.column == QLatin1String("GRUPO")      ? DM->TBGRUPO
                      : f.column == QLatin1String("SUBGRUPO") ? DM->TBSUBGRUPO
                                                              : DM->TBFORNECEDOR)
                         ->field(QStringLiteral("DESCRICAO"))
                         .def()
                         .size;
        else if (s.kind == K::State)
            f.size = 2;
        fields.push_back(f);
    }
    return fields;
}

const std::vector<Spec>& productSpecs() {
    static const std::vector<Spec> specs = {
        {"CODIGO", "Código", K::Code, true, {"Cód", "Cod", "Código do produto", "Código interno"}},
        {"CODIGOBARRAS",
         "Código de barras",
         K::Text,
         true,
         {"Cód barras", "Cod barras", "Barras", "EAN", "EAN13", "GTIN", "Código EAN"}},
        {"DESCRICAO",
         "Descrição",
         K::Text,
         true,
         {"Produto", "Nome", "Descrição do produto", "Nome do produto", "Item", "Mercadoria"}},
        {"REFERENCIA", "Referência", K::Text, true, {"Ref", "Referência do fabricante"}},
        {"UNIDADE", "Unidade", K::Text, true, {"Un", "Und", "Unid", "Medida", "Unidade de medida"}},
        {"ESTOQUEATUAL",
         "Estoque",
         K::Number,
         true,
         {"Estoque atual", "Quantidade", "Qtd", "Qtde", "Quant", "Saldo", "Saldo em estoque"}},
        {"ESTOQUE_MINIMO", "Estoque mínimo", K::Number, true, {"Mínimo", "Est mínimo"}},
        {"ESTOQUE_MAXIMO", "Estoque máximo", K::Number, true, {"Máximo", "Est máximo"}},
        {"PRECO_COMPRA",
         "Preço de compra",
         K::Number,
         true,
         {"Compra", "Custo", "Preço de custo", "Valor de compra", "Valor de custo"}},
        {"PRECO_VENDA",
         "Preço de venda",
         K::Number,
         true,
         {"Venda", "Preço", "Valor", "Valor de venda", "Preço unitário", "Valor unitário"}},
        {"FORNECEDOR", "Fornecedor", K::Reference, true, {"Nome do fornecedor"}},
        {"GRUPO", "Grupo", K::Reference, true, {"Categoria", "Departamento", "Seção"}},
        {"SUBGRUPO", "Subgrupo", K::Reference, true, {"Subcategoria", "Sub grupo"}},
        {"POS_PRATELEIRA",
         "Posição na prateleira",
         K::Text,
         true,
         {"Prateleira", "Posição", "Localização", "Local"}},
        {"OBS", "Observação", K::Memo, false, {"Obs", "Observações"}},
        {"COR", "Cor", K::Text, true, {}},
        {"MODELO", "Modelo", K::Text, true, {}},
        {"TAMANHO", "Tamanho", K::Text, true, {"Tam"}},
    };
    return specs;
}

// The address, contact and document fields suppliers and customers share.
const std::vector<Spec>& contactSpecs(bool customer) {
    static const std::vector<Spec> supplier = {
        {"CODIGO", "Código", K::Code, true, {"Cód", "Cod", "Código do fornecedor"}},
        {"DESCRICAO",
         "Descrição",
         K::Text,
         true,
         {"Fornecedor", "Nome", "Nome fantasia", "Nome do fornecedor"}},
        {"CNPJ", "CNPJ", K::Text, true, {"CNPJ/CPF", "CPF/CNPJ"}},
        {"RAZAO_SOCIAL", "Razão social", K::Text, true, {}},
        {"NOME_CONTATO", "Nome do contato", K::Text, true, {"Contato", "Vendedor"}},
        {"TELEFONE1", "Telefone 1", K::Text, true, {"Telefone", "Fone", "Tel"}},
        {"TELEFONE2", "Telefone 2", K::Text, true, {"Fone 2", "Tel 2"}},
        {"CELULAR", "Celular", K::Text, true, {"WhatsApp", "Cel"}},
        {"FAX", "Fax", K::Text, true, {}},
        {"EMAIL", "E-mail", K::Text, false, {"Email", "Correio eletrônico"}},
        {"SITE", "Site", K::Text, false, {"Página", "Endereço eletrônico", "Home page"}},
        {"ENDERECO", "Endereço", K::Text, true, {"Logradouro", "Rua"}},
        {"BAIRRO", "Bairro", K::Text, true, {}},
        {"CIDADE", "Cidade", K::Text, true, {"Município"}},
        {"UF", "UF", K::State, true, {"Estado"}},
        {"CEP", "CEP", K::Text, true, {}},
        {"PAIS_NACAO", "País", K::Text, true, {"Nação"}},
        {"INSCRICAO_ESTADUAL", "Inscrição estadual", K::Text, true, {"IE", "Insc estadual"}},
        {"OBSERVACAO", "Observação", K::Memo, false, {"Obs", "Observações"}},
    };
    static const std::vector<Spec> client = {
        {"CODIGO", "Código", K::Code, true, {"Cód", "Cod", "Código do cliente"}},
        {"NOME", "Nome", K::Text, true, {"Cliente", "Nome do cliente", "Nome completo"}},
        {"CPF", "CPF", K::Text, true, {}},
        {"RG", "RG", K::Text, true, {"Identidade"}},
        {"CNPJ", "CNPJ", K::Text, true, {}},
        {"TIPO_PESSOA", "Tipo de pessoa", K::PersonType, true, {"Tipo", "Pessoa"}},
        {"DATANASC",
         "Data de nascimento",
         K::Date,
         true,
         {"Nascimento", "Data nasc", "Dt nascimento", "Aniversário"}},
        {"TELEFONE1", "Telefone 1", K::Text, true, {"Telefone", "Fone", "Tel"}},
        {"TELEFONE2", "Telefone 2", K::Text, true, {"Fone 2", "Tel 2"}},
        {"CELULAR", "Celular", K::Text, true, {"WhatsApp", "Cel"}},
        {"EMAIL", "E-mail 1", K::Text, false, {"E-mail", "Email", "Email 1"}},
        {"EMAILCOMUNICADOR", "E-mail 2", K::Text, false, {"Email 2"}},
        {"ENDERECO", "Endereço", K::Text, true, {"Logradouro", "Rua"}},
        {"BAIRRO", "Bairro", K::Text, true, {}},
        {"CIDADE", "Cidade", K::Text, true, {"Município"}},
        {"UF", "UF", K::State, true, {"Estado"}},
        {"CEP", "CEP", K::Text, true, {}},
        {"OBSERVACAO", "Observação", K::Memo, false, {"Obs", "Observações"}},
    };
    return customer ? client : supplier;
}

} // namespace

int Target::fieldIndex(const QString& column) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].column == column)
            return int(i);
    return -1;
}

const TargetField& Target::field(const QString& column) const {
    const int i = fieldIndex(column);
    if (i < 0)
        throw std::logic_error("no import field " + column.toStdString());
    return fields[std::size_t(i)];
}

Target targetOf(Register what) {
    switch (what) {
    case Register::Products:
        return {
            what,
            QStringLiteral("TPRODUTO"),
            QStringLiteral("DESCRICAO"),
            fieldsOf(DM->TBPRODUTOS, productSpecs()),
            {QStringLiteral("CODIGO"), QStringLiteral("CODIGOBARRAS"), QStringLiteral("DESCRICAO")},
            {QStringLiteral("CODIGO"), QStringLiteral("CODIGOBARRAS")}};
    case Register::Suppliers:
        return {what,
                QStringLiteral("TFORNECEDOR"),
                QStringLiteral("DESCRICAO"),
                fieldsOf(DM->TBFORNECEDOR, contactSpecs(false)),
                {QStringLiteral("CODIGO"), QStringLiteral("CNPJ"), QStringLiteral("DESCRICAO")},
                {QStringLiteral("CODIGO"), QStringLiteral("CNPJ")}};
    case Register::Customers:
        break;
    }
    return {what,
            QStringLiteral("TCLIENTE"),
            QStringLiteral("NOME"),
            fieldsOf(DM->TBCLIENTE, contactSpecs(true)),
            {QStringLiteral("CODIGO"), QStringLiteral("CPF"), QStringLiteral("CNPJ"),
             QStringLiteral("NOME")},
            {QStringLiteral("CODIGO")}};
}

QString registerWords(Register what) {
    switch (what) {
    case Register::Products:
        return QStringLiteral("produtos");
    case Register::Suppliers:
        return QStringLiteral("fornecedores");
    case Register::Customers:
        break;
    }
    return QStringLiteral("clientes");
}

} // namespace imports
