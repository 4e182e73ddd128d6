// e2e-clipboard-reader: prints the text of the display's clipboard (UTF-8), so that a test can
// read what the program's widgets copied there. Not part of the program.
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
  std::fwrite(text.data(), 1, static_cast<size_t>(text.size()), stdout);
  return 0;
}
