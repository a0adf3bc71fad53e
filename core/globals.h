#pragma once
// State shared between windows. Each variable is set and read where its window says.
#include <QString>

class TDM;

extern QString caminho_sistema; // program folder, with a trailing separator
extern QString usuario_logado;  // login name exactly as typed
extern bool modo_selecao;       // supplier/customer window opened to pick a record
extern bool selecionar_produto; // products window opened to pick a product
extern int produto_selecionado; // the picked product's code
extern int consulta_entradas;   // movement query: 1 entries, 0 exits
extern TDM* DM;                 // the single data module
