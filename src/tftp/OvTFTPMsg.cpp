#include "OvTFTPMsg.h"

namespace ovtftp {

const char* statusText(std::int32_t code) {
    switch (code) {
    case Success:
        return "(OvTFTP) Success to transfer file.";
    case Transferring:
        return "(OvTFTP) File is transferring...";
    case Connected:
        return "(OvTFTP) A TFTP session is connected...";
    case Disconnected:
        return "(OvTFTP) A TFTP session is disconnected...";
    case UndefinedError:
        return "(OvTFTP) Undefined error:";
    case FileNotFound:
        return "(OvTFTP) File not found!";
    case AccessViolation:
        return "(OvTFTP) Access violation!";
    case DiskFull:
        return "(OvTFTP) Disk full!";
    case BadOperation:
        return "(OvTFTP) Bad operation!";
    case UnknownPort:
        return "(OvTFTP) Unknown port!";
    case FileExists:
        return "(OvTFTP) File already exist!";
    case NoSuchUser:
        return "(OvTFTP) No such user!";
    case SocketOpenFailed:
        return "(OvTFTP) Fail to open socket!Please check if the network is ready.";
    case SocketIoFailed:
        return "(OvTFTP) Fail to send or receive socket packet!";
    case SocketNotReady:
        return "(OvTFTP) Socket is not ready!";
    case BadPacket:
        return "(OvTFTP) Bad packet!";
    case Timeout:
        return "(OvTFTP) Timeout!";
    case Canceled:
        return "(OvTFTP) Transfer has been canceled.";
    default:
        return "";
    }
}

std::int32_t statusOfErrorCode(std::uint16_t errorCode) {
    return errorCode <= 7 ? UndefinedError - errorCode : UndefinedError;
}

} // namespace ovtftp

void OvTFTPMsg::setStatus(std::int32_t status) {
    // Set at every block: the text is looked up only when the status changes.
    if (status == code && !text.empty())
        return;
    code = status;
    text = ovtftp::statusText(status);
}
