#pragma once

class QApplication;

namespace Resources {

// Makes the compiled-in resources available (the UI library is static).
void init();

// Applies the ":/qss/default" style sheet to the whole application.
void applyStyleSheet(QApplication *app);

} // namespace Resources
