#include <gtest/gtest.h>

#include <set>
#include <string>

#include "query/courier_catalogue.h"
#include "support/text_printing.h"
#include "text/code_page.h"

namespace vorlakin {
namespace {

struct KnownCourier {
  const char* utf8Name;
  const char* code;
  int comboPosition;
};

// The catalogue as its users know it, in table order, written here
// independently of the program's generated table.
constexpr KnownCourier kKnown[] = {
    {"AAE快递", "aae", 14},
    {"安捷快递", "anjie", 15},
    {"安信达快递", "anxinda", 16},
    {"Aramex国际快递", "aramex", 17},
    {"CCES快递", "cces", 18},
    {"程光快递", "chengguang", 19},
    {"传喜快递", "chuanxi", 20},
    {"传志快递", "chuanzhi", 21},
    {"东方快递", "coe", 22},
    {"大田物流", "datian", 23},
    {"德邦物流", "debang", 24},
    {"DHL快递", "dhl", 25},
    {"递四方速递", "disifang", 26},
    {"DPEX快递", "dpex", 27},
    {"D速快递", "dsu", 28},
    {"百福东方物流", "ees", 29},
    {"EMS快递", "ems", 3},
    {"国际Fedex", "fedex", 30},
    {"Fedex国内", "fedexcn", 31},
    {"原飞航物流", "feihang", 32},
    {"丰达快递", "fengda", 33},
    {"飞康达快递", "fkd", 34},
    {"飞快达快递", "fkdex", 35},
    {"广东邮政物流", "gdyz", 36},
    {"共速达物流|快递", "gongsuda", 37},
    {"天地华宇物流", "huayu", 38},
    {"汇通快递", "huitong", 39},
    {"佳吉快运", "jiaji", 40},
    {"佳怡物流", "jiayi", 41},
    {"加运美快递", "jiayunmei", 42},
    {"晋越快递", "jinyue", 43},
    {"嘉里大通物流", "jldt", 44},
    {"快捷快递", "kuaijie", 45},
    {"蓝镖快递", "lanbiao", 46},
    {"乐捷递快递", "lejiedi", 47},
    {"联昊通快递", "lianhaotong", 48},
    {"龙邦快递", "longbang", 49},
    {"民航快递", "minhang", 50},
    {"港中能达", "nengda", 51},
    {"OCS快递", "ocs", 52},
    {"平安达", "pinganda", 53},
    {"全晨快递", "quanchen", 54},
    {"全峰快递", "quanfeng", 55},
    {"全际通快递", "quanjitong", 56},
    {"全日通快递", "quanritong", 57},
    {"全一快递", "quanyi", 58},
    {"如风达快递", "rufeng", 59},
    {"三态速递", "santai", 60},
    {"伟邦(SCS)快递", "scs", 61},
    {"盛丰物流", "shengfeng", 62},
    {"盛辉物流", "shenghui", 63},
    {"顺丰快递", "shunfeng", 64},
    {"速尔快递", "sure", 65},
    {"天天快递", "tiantian", 66},
    {"TNT快递", "tnt", 67},
    {"UPS", "ups", 68},
    {"万家物流", "wanjia", 69},
    {"新邦物流", "xinbang", 70},
    {"鑫飞鸿速递", "xinfeihong", 71},
    {"信丰快递", "xinfeng", 72},
    {"源安达快递", "yad", 73},
    {"亚风快递", "yafeng", 74},
    {"一邦快递", "yibang", 75},
    {"银捷快递", "yinjie", 76},
    {"优速快递", "yousu", 77},
    {"北京一统飞鸿快递", "ytfh", 78},
    {"远成物流", "yuancheng", 79},
    {"圆通快递", "yuantong", 1},
    {"元智捷诚", "yuanzhi", 5},
    {"越丰快递", "yuefeng", 6},
    {"韵达快递", "yunda", 4},
    {"运通中港快递", "yuntong", 8},
    {"源伟丰", "ywfex", 9},
    {"宅急送快递", "zhaijisong", 10},
    {"中铁快运", "zhongtie", 11},
    {"中通快递", "zhongtong", 7},
    {"忠信达快递", "zhongxinda", 12},
    {"中邮物流", "zhongyou", 13},
    {"申通快递", "shentong", 2},
};

TEST(CourierCatalogue, EveryNameIsItsGbkBytesAndYieldsItsCode) {
  const auto& catalogue = CourierCatalogue();
  ASSERT_EQ(std::size(kKnown), catalogue.size());
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    const KnownCourier& known = kKnown[i];
    EXPECT_EQ(catalogue[i].displayName, Utf8ToGbk(known.utf8Name)) << "entry " << i + 1 << " " << known.utf8Name;
    EXPECT_EQ(catalogue[i].courierCode, known.code) << "entry " << i + 1;
    EXPECT_EQ(catalogue[i].comboPosition, known.comboPosition) << "entry " << i + 1;
    EXPECT_EQ(LookUpCourierCode(Gbk(known.utf8Name)), T(known.code)) << known.utf8Name;
  }
  // The conversion itself, pinned by hand: 圆通快递 and 共速达物流|快递.
  EXPECT_EQ(Gbk("圆通快递"), T("\xD4\xB2\xCD\xA8\xBF\xEC\xB5\xDD"));
  EXPECT_EQ(LookUpCourierCode(T("\xB9\xB2\xCB\xD9\xB4\xEF\xCE\xEF\xC1\xF7|\xBF\xEC\xB5\xDD")), T("gongsuda"));
}

TEST(CourierCatalogue, NamesAndCodesAreUniqueAndWellFormed) {
  std::set<std::string_view> names;
  std::set<std::string_view> codes;
  for (const CourierEntry& entry : CourierCatalogue()) {
    EXPECT_TRUE(names.insert(entry.displayName).second) << DescribeBytes(entry.displayName);
    EXPECT_TRUE(codes.insert(entry.courierCode).second) << entry.courierCode;
    EXPECT_GE(entry.courierCode.size(), 3u);
    EXPECT_LE(entry.courierCode.size(), 11u);
    EXPECT_EQ(entry.courierCode.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string_view::npos);
    EXPECT_FALSE(entry.displayName.empty());
  }
}

TEST(CourierCatalogue, ComboOrderPutsThirteenFavouritesFirstThenTableOrder) {
  const auto& order = CouriersInComboOrder();
  const auto& catalogue = CourierCatalogue();
  const int favourites[] = {68, 79, 17, 71, 69, 70, 76, 72, 73, 74, 75, 77, 78};
  std::size_t position = 0;
  for (const int entry : favourites) {
    EXPECT_EQ(order[position++], &catalogue[static_cast<std::size_t>(entry - 1)]) << "position " << position;
  }
  for (int entry = 1; entry <= 67; ++entry) {
    if (entry == 17) continue;
    EXPECT_EQ(order[position++], &catalogue[static_cast<std::size_t>(entry - 1)]) << "position " << position;
  }
  EXPECT_EQ(position, kCourierCount);
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(order[i]->comboPosition, static_cast<int>(i) + 1);
  }
  EXPECT_EQ(Text::Present(order.front()->displayName), Gbk("圆通快递"));
  EXPECT_EQ(Text::Present(order.back()->displayName), Gbk("远成物流"));
}

TEST(CourierCatalogue, OnlyTheWholeExactNameMatches) {
  const char* misses[] = {"", "ups", "Ups", "dhl快递", " UPS", "UPS ", "共速达物流", "快递", "圆通快递 ", "ＵＰＳ"};
  for (const char* miss : misses) {
    EXPECT_EQ(LookUpCourierCode(Gbk(miss)), kAbsent) << miss;
  }
  EXPECT_EQ(LookUpCourierCode(kAbsent), kAbsent);
  EXPECT_EQ(LookUpCourierCode(Gbk("UPS")), T("ups"));
  EXPECT_EQ(LookUpCourierCode(Gbk("东方快递")), T("coe"));
  EXPECT_EQ(LookUpCourierCode(Gbk("百福东方物流")), T("ees"));
  EXPECT_EQ(LookUpCourierCode(Gbk("伟邦(SCS)快递")), T("scs"));
}

}  // namespace
}  // namespace vorlakin
