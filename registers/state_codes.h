#pragma once
// The codes a state (UF) field takes: "XX" for none or abroad, then the 27 Brazilian states, in
// the order the register windows' lists show them.
#include <QStringList>

inline const QStringList& stateCodes() {
    static const QStringList codes = {"XX", "AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO",
                                      "MA", "MT", "MS", "MG", "PA", "PB", "PR", "PE", "PI", "RJ",
                                      "RN", "RS", "RO", "RR", "SC", "SP", "SE", "TO"};
    return codes;
}
