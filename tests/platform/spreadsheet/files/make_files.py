#!/usr/bin/python3
"""Makes the sheets the import tests read, as other programs write them. Run once by hand (needs
python3-openpyxl and libreoffice-calc-nogui); the files are kept in the repository and the tests
never run this."""
import datetime
import os
import shutil
import subprocess
import tempfile

from openpyxl import Workbook

HERE = os.path.dirname(os.path.abspath(__file__))


def products_workbook():
    """A shop's product list: a title merged across, a header over two rows with merged cells,
    formulas, an error, a bar code as a number and one as text, an extra column, a blank row."""
    wb = Workbook()
    ws = wb.active
    ws.title = "Produtos"
    ws["A1"] = "Lista de produtos — Mercadinho São José"
    ws.merge_cells("A1:I1")
    for col, name in zip("ABCFGHI", ["Código", "Descrição", "Código de barras", "Estoque", "Un",
                                     "Grupo", "Anotações internas"]):
        ws[f"{col}2"] = name
        ws.merge_cells(f"{col}2:{col}3")
    ws["D2"] = "Preço"
    ws.merge_cells("D2:E2")
    ws["D3"] = "Custo"
    ws["E3"] = "Venda"
    rows = [
        [1, "Arroz Agulhinha Tipo 1 5kg", 7891234567895, 18.5, "=D4*1.3", 10, "un", "Alimentos",
         "conferir"],
        [2, "Feijão Carioca 1kg", "0789100000017", 6.2, 8.99, 0, "pc", None, None],
        [3, "Açúcar Cristal", None, None, "R$ 4,50", 2.5, "kg", "Mercearia", None],
        [4, "Detergente Líquido Neutro Limpol Frasco de 500ml Caixa", None, 1, 2, 3, "un",
         "Limpeza", None],
        [5, "Sabão em pó", None, 3, "abc", 1, "un", "Limpeza", None],
        None,
        [6, "Refrigerante Cola 2L", None, "=1/0", 7.99, 12, "un", "Bebidas", None],
    ]
    for i, row in enumerate(rows):
        if row:
            for j, value in enumerate(row):
                if value is not None:
                    ws.cell(row=4 + i, column=1 + j, value=value)
    ws.merge_cells("H4:H5")  # one group for two products
    ws["C4"].number_format = "0"
    for r in range(4, 11):
        ws[f"D{r}"].number_format = ws[f"E{r}"].number_format = '"R$" #,##0.00'
    return wb


def customers_workbook():
    """Customers with birth dates as dates, as text and as a bare number, a state code, a formula
    openpyxl leaves without a value, and a header cell merged over two columns."""
    wb = Workbook()
    ws = wb.active
    ws.title = "Clientes"
    ws.append(["Nome", "CPF", "Data de nascimento", "UF", "Cidade", "Contato", None, "Tipo"])
    ws.merge_cells("F1:G1")
    ws.append([None, None, None, None, None, "E-mail", "Celular", None])
    ws.merge_cells("A1:A2")
    ws.merge_cells("B1:B2")
    ws.merge_cells("C1:C2")
    ws.merge_cells("D1:D2")
    ws.merge_cells("E1:E2")
    ws.merge_cells("H1:H2")
    ws.append(["Maria da Silva", "123.456.789-09", datetime.date(1980, 3, 15), "sp", "São Paulo",
               "Maria@Exemplo.com", "(11) 98888-7777", "Física"])
    ws.append(["José Souza", "987.654.321-00", "15/03/1975", "RJ", "Niterói", None, None,
               "Jurídica"])
    ws.append(["Ana Lima", None, "31/02/1990", "XY", "Recife", None, None, "PF"])
    ws.append(["Carlos Pereira", None, 29000, "MG", "Uberaba", None, None, None])
    ws.append(["Beatriz Costa", None, "=TODAY()", "BA", "Salvador", None, None, "Pessoa Física"])
    ws["C3"].number_format = "DD/MM/YYYY"
    return wb


PRODUCTS_CSV = [
    ["Código", "Descrição", "Preço de venda", "Estoque", "Unidade"],
    ["10", "Pão Francês", "R$ 0,75", "1.250,5", "kg"],
    ["11", 'Bolo "Caseiro" de Fubá', "R$ 1.234,56", "3", "un"],
    ["12", "Torta de maçã\n(fatia)", "12,90", "", "un"],
]

SUPPLIERS_CSV = [
    ["Fornecedor", "CNPJ", "Cidade", "UF", "Telefone"],
    ["Distribuidora Paulista", "12.345.678/0001-90", "São Paulo", "SP", "(11) 3333-4444"],
    ["Laticínios Serra Azul", "98.765.432/0001-10", "Juiz de Fora", "mg", ""],
    ["Atacadão Nordeste", "12.345.678/0001-90", "Fortaleza", "CE", ""],
    ["Empório Sul", "", "Curitiba", "PN", ""],
]


def csv_bytes(rows, separator, encoding, newline, quote_all=False, bom=False):
    def field(text):
        needs = quote_all or any(c in text for c in (separator, '"', "\n", "\r"))
        return '"' + text.replace('"', '""') + '"' if needs else text
    text = newline.join(separator.join(field(f) for f in row) for row in rows) + newline
    return (b"\xef\xbb\xbf" if bom else b"") + text.encode(encoding)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "produtos_calc.xlsx")
        products_workbook().save(source)
        # LibreOffice Calc opens the sheet, works its formulas out and saves it as its own.
        out = os.path.join(tmp, "out")
        subprocess.run(["soffice", "--headless", "--norestore", f"-env:UserInstallation=file://{tmp}/lo",
                        "--convert-to", "xlsx:Calc MS Excel 2007 XML", "--outdir", out, source],
                       check=True)
        shutil.copy(os.path.join(out, "produtos_calc.xlsx"), HERE)
    customers_workbook().save(os.path.join(HERE, "clientes_openpyxl.xlsx"))

    write("produtos_ponto_e_virgula.csv", csv_bytes(PRODUCTS_CSV, ";", "utf-8", "\n"))
    write("produtos_virgula_bom.csv", csv_bytes(PRODUCTS_CSV, ",", "utf-8", "\r\n", True, True))
    write("produtos_tabulacao_1252.txt", csv_bytes(PRODUCTS_CSV, "\t", "cp1252", "\r\n"))
    write("fornecedores_1252.csv", csv_bytes(SUPPLIERS_CSV, ";", "cp1252", "\r\n"))
    write("vazio.csv", b"")
    write("nao_e_planilha.xlsx", "Isto é só um texto com o nome de uma planilha.\n".encode())
    # The first bytes of a PNG picture: no text at all.
    write("imagem.csv", b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x00\x00\x01\x00\x00\x00\x01")


if __name__ == "__main__":
    main()
