#pragma once

#include <QString>

// The directory that holds the configuration file and the "logs" directory: the program's own directory,
// unless a test has pointed it elsewhere.
QString programDirectory();
void setProgramDirectory(const QString &directory);
