#include "CFileDelImplement.h"

CFileDelImplement::CFileDelImplement(QObject *parent) : QObject(parent) {}
