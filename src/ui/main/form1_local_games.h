#pragma once

#include "ui/main/form1.h"

#include <QPointer>

#include <map>

namespace zorvia {

class TForm2;

// The local games' own state and helpers (form1_local.cpp,
// form1_download.cpp).
struct TForm1::LocalGames {
    explicit LocalGames(TForm1& owner) : form(owner) {}

    // True when the game database lists the file.
    bool recorded(const AnsiString& filename);
    // Inserts a game into the game database.
    void record(const AnsiString& subject, const AnsiString& filename, const AnsiString& gamehelp);

    TForm1& form;
    // File names whose transfer is running, with the window showing it.
    std::map<AnsiString, QPointer<TForm2>> downloading;
};

} // namespace zorvia
