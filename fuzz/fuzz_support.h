#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the harnesses share: the input as bytes, a scratch folder for the
// readers that want a file name, and a way to stop on a broken promise.
namespace fuzzing {

inline QByteArrayView inputBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder of this process below the temporary folder (scripts/fuzz points
// TMPDIR into the build tree), removed when the process ends. No harness
// writes anywhere else.
QString scratchFolder();

// Creates the folder (and its parents) below the scratch folder where
// missing; returns its path with a trailing "/".
QString scratchSubFolder(const QString& relativePath);

// Writes the bytes to a file below the scratch folder, replacing it, and
// returns its path.
QString writeScratchFile(const QString& relativePath, QByteArrayView bytes);

// A property the code under test promises: when it does not hold, the run
// stops as a crash, so the fuzzer keeps the input.
void require(bool holds, const char* promise);

} // namespace fuzzing
