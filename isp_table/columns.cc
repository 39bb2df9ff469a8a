#include "columns.h"

#define WIDTH(field) (sizeof(isp_profile::field) - 1)

const ColumnRule kColumnRules[kColumns] = {
    /* kIndex */ {"index", WIDTH(index), "G_ISP_INDEX", Placeholder::kIndex},
    /* kMcc */ {"MCC", WIDTH(mcc), nullptr, Placeholder::kKey},
    /* kMnc */ {"MNC", WIDTH(mnc), nullptr, Placeholder::kKey},
    /* kIsp */ {"operator name", WIDTH(isp), nullptr, Placeholder::kPrinted},
    /* kRegion */ {"region", WIDTH(region), nullptr, Placeholder::kPrinted},
    /* kSystem */ {"technology", 0, "G_SYSTEM", Placeholder::kNone},
    /* kApn */ {"APN", WIDTH(apn), "G_APN", Placeholder::kSent},
    /* kNumber */ {"dial number", WIDTH(number), "G_NUMBER", Placeholder::kSent},
    /* kUsr */ {"user name", WIDTH(usr), "G_USERNAME", Placeholder::kSent},
    /* kPwd */ {"password", WIDTH(pwd), "G_PASSWORD", Placeholder::kSent},
};

std::string column_name(size_t column) {
  return column < kColumns ? kColumnRules[column].name : "column " + std::to_string(column + 1);
}
