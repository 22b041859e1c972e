#include "memcheck_report.h"

#include <QFile>

#include <cstdio>

// Reads memcheck's XML output of one run of the program and fails when any
// memory error or definite leak passes through our code.
int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <memcheck.xml>\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "memcheck: FAIL: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextStream out(stdout);
    return memcheck::Summarise(memcheck::Read(file), out) ? 0 : 1;
}
