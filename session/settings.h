#pragma once

#include <QString>

#include "platform/appdir.h"

// The shared settings, kept in section "system" of config.ini in the program folder. Read once when the
// main window initialises, changed by the template chooser, written back when the main window closes.
extern QString g_strExportPath; // exportpath: an existing folder (or file) for exported images
extern QString g_strTemplateCategory; // temp_name: the category the template chooser shows first
extern int g_nTemplateNumber; // temp_num: the last chosen template within its category
extern int g_nTemplateGroup; // first: 0 Holiday, 1 Events, 2 Children
extern bool g_bTemplateFlag; // flag: an Events category was selected
extern QString g_strPhotoDir; // photodir: the folder the photo browser showed last (empty: none yet)

// The settings file of a program folder: config.ini inside it when it is writable, otherwise
// velomira/config.ini in the user's XDG config folder.
QString GetConfigPath(const QString& strAppDir = GetAppDir());

// Reads the shared settings from the INI file (the main window passes its program folder's config.ini).
// A missing file or key gives the default; an exportpath naming nothing that exists is replaced by the
// folder "Velomira" in the user's documents folder, which is created.
void LoadSettings(const QString& strIniPath);

// Writes the shared settings into section "system" of the INI file, creating it (and its folder)
// when missing.
// Failures are not reported.
void SaveSettings(const QString& strIniPath);

// The profile-string functions over a UTF-8 INI file. Section and key names are matched ignoring case
// and surrounding blanks; the first section and the first key of a name count.
//
// Copies the value of the key (blanks around it and one pair of enclosing quotes removed), or the default
// without its trailing blanks when the file, section or key is missing, into the buffer of nSize
// characters and zero-terminates it. A value that does not fit is cut to nSize - 1 characters. Returns
// the number of characters copied, without the terminator.
qsizetype GetPrivateProfileString(const QString& strSection, const QString& strKey, const QString& strDefault,
    QChar* pBuffer, qsizetype nSize, const QString& strPath);

// Sets one key of a section: the key's line is replaced, a new key goes after the section's last line,
// a new section goes to the end of the file, a missing file is created. Every other line stays byte for
// byte. A value holding a line break, or a key that cannot stand in an INI line, is refused and the file
// is left alone. Returns whether the file was written.
bool WritePrivateProfileString(
    const QString& strSection, const QString& strKey, const QString& strValue, const QString& strPath);

// Reads keys of section "system" of one INI file.
class CIni {
public:
    explicit CIni(const QString& strPath);
    virtual ~CIni();

    // The key's value or the default; a value of any length is read whole.
    QString ReadRaw(const QString& strKey, const QString& strDefault) const;
    QString ReadString(const QString& strKey, const QString& strDefault) const;
    // The decimal digits at the start of the value: "12abc" gives 12, "abc" or a missing key 0; a number
    // too large for the type gives its largest value.
    unsigned ReadInt(const QString& strKey) const;
    // The key flag: true for "true" or "yes" in any case, or a leading signed number that is not zero.
    bool ReadFlag() const;

private:
    QString m_strPath;
};
