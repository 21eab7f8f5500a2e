#include "game_record.h"

#include "gbk.h"

std::string codedAddress(std::string_view address, int codeOffset) {
    std::string coded;
    for (unsigned char c : address)
        coded += "&#" + std::to_string(c + codeOffset);
    return coded;
}

std::string gameRecord(const Game& game, std::string_view host) {
    const std::string origin = "http://" + std::string(host);
    const std::string swfAddress = origin + game.swfPath;
    std::string coded;
    switch (game.record) {
    case RecordShape::Empty:
        return {};
    case RecordShape::Blank:
        return " \t \r\n";
    case RecordShape::BadCode:
        for (unsigned char c : swfAddress)
            coded += "&#" + std::to_string(c) + ";";
        break;
    case RecordShape::WideCodes:
        coded = codedAddress(swfAddress, 256);
        break;
    default:
        coded = codedAddress(swfAddress);
    }
    std::string record = game.id + "|" + game.name + "|" + game.description + "|" + coded;
    if (game.record != RecordShape::FourFields)
        record += "|" + origin + game.picturePath;
    if (!game.sixthField.empty())
        record += "|" + game.sixthField;
    return utf8ToGbkNearest(record);
}
