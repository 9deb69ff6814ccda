#include "native_file_name.h"

#include <QFileInfo>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscapedAscii(unsigned char b) {
    return b == '\\' || b == '\r' || b == '\n';
}

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at i (strict: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when none starts there.
qsizetype validSequenceLength(QByteArrayView s, qsizetype i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const qsizetype left = s.size() - i;
    auto at = [&](qsizetype k) { return static_cast<unsigned char>(s[i + k]); };
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        return left >= 2 && isContinuation(at(1)) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !isContinuation(at(1)) || !isContinuation(at(2)))
            return 0;
        if (b0 == 0xE0 && at(1) < 0xA0)
            return 0; // overlong
        if (b0 == 0xED && at(1) >= 0xA0)
            return 0; // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !isContinuation(at(1)) || !isContinuation(at(2)) || !isContinuation(at(3)))
            return 0;
        if (b0 == 0xF0 && at(1) < 0x90)
            return 0; // overlong
        if (b0 == 0xF4 && at(1) >= 0x90)
            return 0; // above U+10FFFF
        return 4;
    }
    return 0;
}

void appendEscapeBytes(QByteArray& out, unsigned char b) {
    const char16_t u = kEscapeBase + b;
    out.append(static_cast<char>(0xE0 | (u >> 12)));
    out.append(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.append(static_cast<char>(0x80 | (u & 0x3F)));
}

} // namespace

bool needsEscaping(QByteArrayView nativeName) {
    for (qsizetype i = 0; i < nativeName.size();) {
        const auto b = static_cast<unsigned char>(nativeName[i]);
        if (b < 0x80) {
            if (isEscapedAscii(b))
                return true;
            ++i;
            continue;
        }
        const qsizetype n = validSequenceLength(nativeName, i);
        if (n == 0)
            return true;
        i += n;
    }
    return false;
}

QString fileNameFromNative(QByteArrayView nativeName) {
    if (!needsEscaping(nativeName))
        return QString::fromUtf8(nativeName);
    QString out;
    out.reserve(nativeName.size());
    for (qsizetype i = 0; i < nativeName.size();) {
        const auto b = static_cast<unsigned char>(nativeName[i]);
        const qsizetype n = isEscapedAscii(b) ? 0 : validSequenceLength(nativeName, i);
        if (n == 0) {
            out.append(QChar(char16_t(kEscapeBase + b)));
            ++i;
        } else {
            out.append(QString::fromUtf8(nativeName.sliced(i, n)));
            i += n;
        }
    }
    return out;
}

QByteArray listBytesFromNative(QByteArrayView nativeName) {
    if (!needsEscaping(nativeName))
        return nativeName.toByteArray();
    QByteArray out;
    out.reserve(nativeName.size() * 3);
    for (qsizetype i = 0; i < nativeName.size();) {
        const auto b = static_cast<unsigned char>(nativeName[i]);
        const qsizetype n = isEscapedAscii(b) ? 0 : validSequenceLength(nativeName, i);
        if (n == 0) {
            appendEscapeBytes(out, b);
            ++i;
        } else {
            out.append(nativeName.sliced(i, n));
            i += n;
        }
    }
    return out;
}

QByteArray nativeFileName(QStringView path) {
#ifdef Q_OS_WIN
    return path.toUtf8();
#else
    QByteArray out;
    out.reserve(path.size());
    qsizetype runStart = 0;
    auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            out.append(path.sliced(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path[i].unicode();
        // The low half of a surrogate pair can fall in the same range.
        const bool afterHighSurrogate = i > 0 && path[i - 1].isHighSurrogate();
        if (u >= kEscapeBase && u <= kEscapeBase + 0xFF && !afterHighSurrogate) {
            flushRun(i);
            out.append(static_cast<char>(u - kEscapeBase));
            runStart = i + 1;
        }
    }
    flushRun(path.size());
    return out;
#endif
}

bool openNativeFile(QFile& file, const QString& nativePath, QIODevice::OpenMode mode) {
#ifdef Q_OS_WIN
    file.setFileName(nativePath);
    return file.open(mode);
#else
    const QByteArray bytes = nativeFileName(nativePath);
    if (bytes == QFile::encodeName(nativePath)) {
        file.setFileName(nativePath);
        return file.open(mode);
    }
    int flags = O_CLOEXEC;
    if ((mode & QIODevice::ReadWrite) == QIODevice::ReadWrite)
        flags |= O_RDWR | O_CREAT;
    else if (mode & QIODevice::WriteOnly)
        flags |= O_WRONLY | O_CREAT | ((mode & QIODevice::Append) ? O_APPEND : O_TRUNC);
    else
        flags |= O_RDONLY;
    const int fd = ::open(bytes.constData(), flags, 0666);
    if (fd < 0)
        return false;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#endif
}

bool openNativeRegularFile(QFile& file, const QString& nativePath, textio::OpenFailure* failure) {
#ifdef Q_OS_WIN
    return textio::openRegularFile(file, nativePath, failure);
#else
    return textio::openRegularFileByBytes(file, nativeFileName(nativePath), failure);
#endif
}

bool nativeFileExists(const QString& nativePath) {
#ifdef Q_OS_WIN
    return QFileInfo::exists(nativePath);
#else
    struct stat info;
    return ::stat(nativeFileName(nativePath).constData(), &info) == 0;
#endif
}

bool nativeIsFile(const QString& nativePath) {
#ifdef Q_OS_WIN
    return QFileInfo(nativePath).isFile();
#else
    struct stat info;
    return ::stat(nativeFileName(nativePath).constData(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

QString nativePathForUrl(const QString& nativePath) {
    QString out;
    out.reserve(nativePath.size());
    for (qsizetype i = 0; i < nativePath.size(); ++i) {
        const char16_t u = nativePath[i].unicode();
        const bool afterHighSurrogate = i > 0 && nativePath[i - 1].isHighSurrogate();
        if (u >= kEscapeBase && u <= kEscapeBase + 0xFF && !afterHighSurrogate)
            out += QStringLiteral("%%1").arg(u - kEscapeBase, 2, 16, QLatin1Char('0')).toUpper();
        else if (u == u'%')
            out += QStringLiteral("%25");
        else
            out += QChar(u);
    }
    return out;
}

} // namespace platform
