#include "core/globals.h"

QString caminho_sistema;
QString usuario_logado;
bool modo_selecao = false;
bool selecionar_produto = false;
int produto_selecionado = 0;
int consulta_entradas = 1;
TDM* DM = nullptr;
