#include "ads/kestrel/KADError.h"

#include "platform/foundation/Log.h"

namespace ads {

namespace {

bool& outputLog()
{
    static bool output = true;
    return output;
}

void writeError(int number, std::string_view text)
{
    if (!outputLog())
        return;
    foundation::log("[kestrelSDK Error] IE" + std::to_string(number) + ": " + std::string(text) + ".");
}

} // namespace

void KADError::setIsOutputLog(bool output)
{
    outputLog() = output;
}

bool KADError::isOutputLog()
{
    return outputLog();
}

void KADError::logErrorMessage(int number)
{
    writeError(number, getErrorMessage(number));
}

void KADError::logErrorMessage(int number, std::string_view info)
{
    writeError(number, getErrorMessage(number) + ". info[" + std::string(info) + "]");
}

void KADError::logErrorMessage(std::string_view message, int statusCode)
{
    writeError(statusCode, message);
}

void KADError::logWarningMessage(std::string_view text)
{
    if (outputLog())
        foundation::log("[kestrelSDK Warning] " + std::string(text));
}

std::string KADError::getErrorMessage(int number)
{
    switch (number) {
    case 700:
        return "Invalid Response";
    case 711:
        return "'apiKey' is Required";
    case 712:
        return "'SpotID' is Required";
    case 713:
        return "Delegate object is Required";
    case 730:
    case 750:
    case 770:
    case 780:
        return "Connect failure";
    case 740:
        return "Incorrect received ad-data";
    case 760:
        return "Ad is out of stock";
    case 771:
    case 772:
    case 781:
    case 782:
        return "Image not found";
    case 790:
        return "Ad size will not fit on screen";
    case 791:
        return "Ad size differences";
    default:
        return "Unexpected error";
    }
}

KADError::OutputErrorInfo KADError::getOutputErrorInfo(int number)
{
    switch (number) {
    case 700:
    case 711:
    case 712:
    case 713:
    case 730:
    case 760:
        return { 2, "Failed to Ad request." };
    case 740:
        return { 1, "Response type is invalid." };
    case 750:
    case 770:
    case 780:
    case 771:
    case 772:
    case 781:
    case 782:
        return { 3, "Failed to Ad download" };
    case 790:
        return { 0, "AD size will not fit on screen." };
    case 791:
        return { 4, "Ad size differences." };
    default:
        return { -1, "" };
    }
}

KADViewError KADError::viewError(int number)
{
    OutputErrorInfo info = getOutputErrorInfo(number);
    return { info.message, info.errorCode,
             { { "errorCode", std::to_string(info.errorCode) }, { "message", info.message } }, number };
}

} // namespace ads
