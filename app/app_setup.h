#pragma once
class QApplication;

// Title, translations, icons, pictures and the database engine's environment, shared by the
// program and its tests.
void setUpApplication(QApplication& app);
