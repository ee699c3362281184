#pragma once
// Helpers of the decoder tests: payloads with values at given offsets, recordings made of
// frames, and one decode run with everything it reported.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstring>

#include "link/CommandFrames.h"
#include "production/DecodeRun.h"
#include "tests/kit/TestKit.h"

namespace DecodeTestKit {

struct Payload {
    QByteArray bytes;
    explicit Payload(int size) : bytes(size, '\0') {}
    template <class T> Payload &at(int offset, T value)
    {
        std::memcpy(bytes.data() + offset, &value, sizeof(T));
        return *this;
    }
};

inline QString path(const QString &name) { return TestKit::workDir() + "/" + name; }

inline QString writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(path(name));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return f.fileName();
}

inline QByteArray readFile(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Outcome {
    DecodeResult result;
    QStringList reports;
    QList<int> progress;
    QByteArray text;       // the target after the run
    QByteArray textAtEnd;  // the target as it stood when the final report came
    QList<QByteArray> lines() const
    {
        QList<QByteArray> l = text.split('\n');
        if (!l.isEmpty() && l.last().isEmpty())
            l.removeLast();
        return l;
    }
};

inline Outcome decode(int type, const QString &source, const QString &target,
                      std::unique_ptr<DecodeTextSink> sink = nullptr)
{
    Outcome o;
    DecodeRun run(type, std::move(sink));
    o.result = run.run(
        source, target,
        [&](const QString &t) {
            o.reports << t;
            if (t != DecodeText::kStart)
                o.textAtEnd = readFile(target);
        },
        [&](int p) { o.progress << p; });
    o.text = readFile(target);
    return o;
}

// Decodes a recording of the given frames (bytes laid back to back).
inline Outcome decodeBytes(int type, const QByteArray &bytes, const QString &name = "rec")
{
    const QString src = writeFile(name + ".dat", bytes);
    QFile::remove(path(name + ".txt"));
    return decode(type, src, path(name + ".txt"));
}

inline QByteArray frame(uint16_t id, const Payload &p) { return buildDeviceFrame(id, p.bytes); }

} // namespace DecodeTestKit
