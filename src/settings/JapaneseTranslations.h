#pragma once

class QCoreApplication;

// Makes Qt's own texts (the buttons of message boxes, the file dialog)
// Japanese by installing Qt's Japanese catalogue into app; the translator
// lives as long as app. Calling it again changes nothing. Returns false when
// the catalogue is not installed: Qt's texts then stay English.
bool installJapaneseTranslations(QCoreApplication &app);
