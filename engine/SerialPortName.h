#ifndef SERIALPORTNAME_H
#define SERIALPORTNAME_H

#include <QString>

// The port name as status texts show it: without a leading "cu." (exact case).
QString displayPortName(const QString &portName);

#endif // SERIALPORTNAME_H
