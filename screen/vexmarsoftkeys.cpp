#include "vexmarsoftkeys.h"

QVexmarSoftkeys::QVexmarSoftkeys(QObject *parent) : QObject(parent) { }

QVexmarSoftkeys::~QVexmarSoftkeys() = default;

void QVexmarSoftkeys::load() { }

void QVexmarSoftkeys::handleConfigChangeset(const kra::CMsg &) { }
