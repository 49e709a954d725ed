#include "testpaths.h"

QString BuildBinDir()
{
    return QStringLiteral(ZELO_TEST_BIN_DIR);
}

QString FakeEngineDir(const char *variant)
{
    return QStringLiteral(ZELO_TEST_FAKES_DIR "/") + QLatin1String(variant);
}
