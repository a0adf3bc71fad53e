#pragma once
// The business that uses the program, with the logo the reports print in their headers.
#include "registers/register_window.h"

namespace ui {
class DBImage;
}

class TFEmpresa : public RegisterWindow {
    Q_OBJECT
public:
    explicit TFEmpresa(QWidget* parent = nullptr);

    ui::DBImage* DBImage1; // LOGO

    // A click on the logo, or F9: only while editing, the chosen file becomes the logo of the
    // record under edit (stored by "Salvar", dropped by "Cancelar").
    void DBImage1Click();
};

extern TFEmpresa* FEmpresa;
