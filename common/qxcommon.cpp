#include "common/qxcommon.h"

TQXCommon::TQXCommon(port::Ports& ports) : ports_(ports) {}
TQXCommon::~TQXCommon() = default;
