#pragma once
// Helpers of the decoder's benchmark and tests: a straightforward QTextStream writer of the
// decoded rows (the baseline, and an independent check of the fast text), and a writer of
// recordings with noise, corrupt frames and false starts between the frames.
#include <QByteArray>
#include <QString>

#include <memory>

#include "production/DecodeRun.h"

std::unique_ptr<DecodeTextSink> makeQTextStreamSink();

struct RecordingOptions {
    int type = 0;               // decode type whose messages the recording carries
    qint64 bytes = 1 << 20;     // approximate size
    uint32_t seed = 1;
    double wildValues = 0.0;    // share of floats that are random bit patterns
    bool noise = true;          // noise, false starts and corrupt frames between frames
    int longFalseStartEvery = 0; // n > 0: "AA 55 id FF FF" (length 65,535) before every n-th frame
};
// One frame's payload of a message the decode type reads, with random values.
QByteArray randomPayload(int type, int sequence, uint32_t &rng, double wildValues);
// Writes a recording; returns the number of good frames written, -1 when the file failed.
qint64 writeRecording(const QString &path, const RecordingOptions &options);
