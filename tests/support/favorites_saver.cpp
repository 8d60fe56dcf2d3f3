// Saves two different favorites lists into one file, alternately, until it is killed. The test
// that starts it kills it at random moments and checks that the file is always one of the two.
#include "app/FavoritesFile.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QStringList a, b;
    for (int i = 0; i < 2000; ++i) {
        a << QStringLiteral("お気に入り A%1\thttp://example.com/a/%1").arg(i);
        b << QStringLiteral("Favorite B%1\thttp://example.org/b/%1").arg(i);
    }
    QString error;
    for (unsigned long n = 0;; ++n) {
        if (!FavoritesFile::write(path, n % 2 ? b : a, &error)) {
            return 1;
        }
    }
}
