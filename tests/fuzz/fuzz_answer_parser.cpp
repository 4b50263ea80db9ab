// The device's answer lines on the serial link: splitting and every payload reader.

#include "AnswerParser.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    const QByteArray line = input.raw();
    const AnswerParser::Answer answer = AnswerParser::splitAnswer(line);
    FUZZ_CHECK(answer.code.size() + answer.payload.size() <= line.size());
    (void)AnswerParser::findAnswerKey(answer.code);
    const QByteArray &payload = answer.payload;
    (void)AnswerParser::parseSerialNumber(payload);
    (void)AnswerParser::parsePartNumber(payload);
    (void)AnswerParser::parseFirmwareVersion(payload);
    (void)AnswerParser::parseGpsInput(payload);
    if (const auto protocol = AnswerParser::parseProtocol(payload))
        FUZZ_CHECK(protocol->slot < 3);
    (void)AnswerParser::parseFlags(payload);
    (void)AnswerParser::parseUint16(payload);
    (void)AnswerParser::parseFloating(payload);
    (void)AnswerParser::isNullAddress(payload);
    if (const auto parts = AnswerParser::parseDeviceAddress(payload))
        FUZZ_CHECK(parts->size() >= 4);
    (void)AnswerParser::parseDestinationAddress(payload);
    return 0;
}
