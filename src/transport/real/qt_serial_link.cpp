#include "transport/real/qt_serial_link.h"

#include <QEventLoop>
#include <QSerialPort>
#include <QThread>

#include "transport/real/device_access.h"

namespace ravelfin {

namespace {

// Time for the operating system to take the bytes of a frame: generous, as the port's own
// write limit of 10 ms a byte plus 5 s.
int WriteTimeoutMs(std::size_t bytes) {
    return 5000 + 10 * static_cast<int>(bytes);
}

}  // namespace

QtSerialLink::QtSerialLink() = default;

QtSerialLink::~QtSerialLink() {
    Close();
}

bool QtSerialLink::IsOpen() const {
    return port_ && port_->isOpen();
}

bool QtSerialLink::Open(const std::string& name) {
    Close();
    lastError_ = CheckDeviceAccess(name);
    if (lastError_ != PortError::None) return false;

    // A reader's worker is a plain thread, without the event dispatcher that the port's socket
    // notifiers register with (they warn on every open without one). An event loop gives the
    // thread one, which stays for the thread's life; the port itself never waits on it.
    if (QThread::currentThread()->eventDispatcher() == nullptr)
        QEventLoop giveThreadADispatcher;
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(name));
    if (!port_->open(QIODevice::ReadWrite)) {
        // Access was checked above, so a refusal now means another program holds the port.
        switch (port_->error()) {
            case QSerialPort::PermissionError: lastError_ = PortError::Busy; break;
            case QSerialPort::DeviceNotFoundError: lastError_ = PortError::NotFound; break;
            default: lastError_ = PortError::Failed; break;
        }
        port_.reset();
        return false;
    }
    const bool configured =
        port_->setBaudRate(QSerialPort::Baud9600) && port_->setDataBits(QSerialPort::Data8) &&
        port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        lastError_ = PortError::Failed;
        Close();
        return false;
    }
    // Ports without modem lines (pseudo-terminals, some adapters) refuse these; that is fine.
    port_->setDataTerminalReady(false);
    port_->setRequestToSend(false);
    port_->clearError();
    port_->clear(QSerialPort::AllDirections);
    return true;
}

void QtSerialLink::Close() {
    if (port_) port_->close();
    port_.reset();
}

bool QtSerialLink::Write(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (port_->write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(WriteTimeoutMs(bytes.size()))) return false;
    }
    return true;
}

SerialLink::ReadResult QtSerialLink::ReadByte(std::uint8_t& byte, int timeoutMs) {
    if (!IsOpen()) return ReadResult::Error;
    if (port_->bytesAvailable() == 0) {
        port_->clearError();
        if (!port_->waitForReadyRead(timeoutMs)) {
            const auto error = port_->error();
            return error == QSerialPort::TimeoutError || error == QSerialPort::NoError
                       ? ReadResult::Timeout
                       : ReadResult::Error;
        }
    }
    char c = 0;
    if (!port_->getChar(&c)) return ReadResult::Error;
    byte = static_cast<std::uint8_t>(c);
    return ReadResult::Byte;
}

void QtSerialLink::PurgeReceive() {
    if (IsOpen()) port_->clear(QSerialPort::Input);
}

}  // namespace ravelfin
