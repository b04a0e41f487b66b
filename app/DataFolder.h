#pragma once

#include <QString>
#include <QStringList>

// Where a run keeps its data, and the start options that choose it. QtCore only.
//
// A portable program folder (the folder copied from the .tar.gz, or the one scripts/run.sh
// installs) keeps its data beside the executable. A program installed by the package cannot write
// beside its executable: the package puts the marker file `MarkerName` there, and the data then go
// to the folder named by `--cartella`, else by the `cartella` key of the configuration file that
// IT edits, else to ~/Ingressario. `--cartella` also moves the data of a portable folder.
namespace DataFolder {

// The marker file that the package installs beside the executable.
inline constexpr auto MarkerName = "ingressario.installato";
// The configuration file of an installed program, its section and key.
inline constexpr auto ConfigFile = "/etc/ingressario.conf";
inline constexpr auto ConfigSection = "Ingressario";
inline constexpr auto ConfigKey = "cartella";
// The data folder of an installed program when nothing else names one, in the user's home.
inline constexpr auto DefaultName = "Ingressario";
// The guide, opened from the data folder by the guide window.
inline constexpr auto GuideName = "Guida.pdf";

// The command line, as the operator or IT may give it.
struct StartOptions
{
    QString folder;       // --cartella DIR, as given
    bool version = false; // --version
    bool help = false;    // --help
    bool check = false;   // --verifica: start up to the login window, report and end
    QString error;        // an option that is not understood, or a missing value
};
StartOptions parseStartOptions(const QStringList& arguments); // arguments[0] is the program
// The text of --help, in Italian.
QString helpText();

// What the choice looks at; the program passes the real places, the tests their own.
struct Where
{
    QString programFolder; // the executable's folder, with or without a trailing separator
    QString optionFolder;  // --cartella, empty when not given
    QString configFile = QLatin1StringView(ConfigFile);
    QString home;          // the user's home folder
    QString workingFolder; // against which a relative --cartella is taken
};

struct Placement
{
    QString programFolder; // with a trailing separator
    QString dataFolder;    // with a trailing separator; the ProgramFolder of the screens
    bool installed = false;
};
Placement choose(const Where& where);

struct Provision
{
    bool usable = false; // the data folder exists (made now when missing)
    QStringList failed;  // the program's files that could not be placed in it
};
// Makes the data folder when missing. When it is not the program folder, places there what the
// screens open from it: the first-access password file when there is none (a changed password
// is never replaced) and the guide when it is missing or differs from the program's own.
Provision provide(const Placement& placement);

} // namespace DataFolder
