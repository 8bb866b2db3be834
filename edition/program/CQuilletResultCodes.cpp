#include "CQuilletResultCodes.h"

namespace {

struct RESULT_TEXT
{
    uint16_t code;
    UINT id;
};

const RESULT_TEXT kResultTexts[] = {
    {0, 61455},    {1, 61456},    {2, 61457},     {257, 61458},   {258, 61459},   {259, 61460},
    {260, 61461},  {261, 61462},  {262, 61463},   {263, 61464},   {264, 61465},   {265, 61466},
    {272, 61467},  {273, 61468},  {274, 61469},   {275, 61470},   {276, 61471},   {277, 61472},
    {280, 61607},  {281, 61608},  {282, 61609},   {283, 61610},   {284, 61611},   {2064, 61612},
    {4097, 61473}, {4098, 61474}, {32769, 61613}, {32770, 61614}, {32771, 61615},
};

} // namespace

UINT CQuilletResultCodes::TextId(uint16_t code)
{
    for (const RESULT_TEXT& entry : kResultTexts)
        if (entry.code == code)
            return entry.id;
    return UNKNOWN_RESULT;
}
