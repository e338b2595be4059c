// Qt's plain text editor on the 20 MB generated source, in an 800 x 600 window with keyword
// highlighting: loading the file plus the first paint, the memory the loaded editor adds, and
// one character typed in the middle plus its repaint. The editor control's own figures come
// from the editor benchmark.
#include "bench/AsmSourceGenerator.h"
#include "bench/BenchRegistry.h"

#include "editor/core/keyfiles/DefaultKeywordList.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTemporaryDir>
#include <QTextBlock>

#include <algorithm>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <vector>

namespace velmora::bench
{

namespace
{

constexpr int kTypings = 100;

// Bytes allocated and not freed, in MB: freed memory that stays resident and is reused
// would hide what an editor adds from a resident-size count.
double allocatedMegabytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The same keywords as the editor's default list, bold, as whole words without regard to case.
class KeywordHighlighter : public QSyntaxHighlighter
{
public:
    explicit KeywordHighlighter(QTextDocument *document) : QSyntaxHighlighter(document)
    {
        QStringList words;
        for (const std::string &name : core::defaultKeywordNames())
            words << QRegularExpression::escape(QString::fromLatin1(name.c_str()));
        pattern_.setPattern("\\b(?:" + words.join('|') + ")\\b");
        pattern_.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        format_.setFontWeight(QFont::Bold);
        format_.setForeground(Qt::blue);
    }

protected:
    void highlightBlock(const QString &text) override
    {
        for (auto it = pattern_.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            setFormat(static_cast<int>(m.capturedStart()), static_cast<int>(m.capturedLength()), format_);
        }
    }

private:
    QRegularExpression pattern_;
    QTextCharFormat format_;
};

void paintNow(QWidget *viewport)
{
    viewport->repaint();
    QApplication::processEvents();
}

void plainTextEditBench(const QString &file)
{
    const double before = allocatedMegabytes();
    auto edit = std::make_unique<QPlainTextEdit>();
    new KeywordHighlighter(edit->document());
    edit->resize(800, 600);
    edit->show();
    const double loadMs = millisecondsOf([&] {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        edit->setPlainText(QString::fromLatin1(in.readAll()));
        paintNow(edit->viewport());
    });
    report("peer-QPlainTextEdit-load-first-paint", loadMs, "ms");
    report("peer-QPlainTextEdit-memory", allocatedMegabytes() - before, "MB");

    QTextCursor cursor(edit->document()->findBlockByNumber(edit->document()->blockCount() / 2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    paintNow(edit->viewport());
    std::vector<double> times;
    for (int i = 0; i < kTypings; ++i)
        times.push_back(millisecondsOf([&] {
            edit->textCursor().insertText("x");
            paintNow(edit->viewport());
        }));
    report("peer-QPlainTextEdit-type-middle", median(times), "ms");
}

void peerEditorsBench()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("bench.asm");
    {
        const std::string source = generateAsmSource(20u << 20);
        std::ofstream out(file.toStdString(), std::ios::binary);
        out.write(source.data(), static_cast<std::streamsize>(source.size()));
    }
    plainTextEditBench(file);
}

const Register registration("peer-editors", peerEditorsBench);

} // namespace

} // namespace velmora::bench
