#pragma once

#include <string>

#include "tests/support/test_support.h"

namespace habuki::test {

// Small backups for comparisons of many, in a folder of their own, the current one while the
// test runs: a, b and c differ in two rows, bits1 to bits3 in bits #7 and #0 of one, 16i.txt is a's
// in format 16i, p1 to p3 are PMC backups whose header lines differ in p3, and p4 has one line more
// than p1.
class FleetFiles {
 public:
  FleetFiles() {
    WriteBytes(dir_ / "a.txt", "%\r\nN00001Q1A1P5A2P7\r\nN00020Q1P17\r\n%\r\n");
    WriteBytes(dir_ / "b.txt", "%\r\nN00001Q1A1P5A2P8\r\nN00020Q1P0\r\n%\r\n");
    WriteBytes(dir_ / "c.txt", "%\r\nN00001Q1A1P5\r\nN00020Q1P17\r\n%\r\n");
    WriteBytes(dir_ / "16i.txt", "%\r\nN0001Q1A1P5A2P7\r\nN0020Q1P17\r\n%\r\n");
    WriteBytes(dir_ / "broken.txt", "%\r\nN00001Q1P1 2\r\n%\r\n");
    WriteBytes(dir_ / "doubled.txt",
               "%\r\nN00001Q1A1P5A2P7\r\nN00020Q1P17\r\n%\r\nN00001Q1P1\r\n%\r\n");
    WriteBytes(dir_ / "bits1.txt", "%\r\nN00005Q1P00000100\r\n%\r\n");
    WriteBytes(dir_ / "bits2.txt", "%\r\nN00005Q1P10000100\r\n%\r\n");
    WriteBytes(dir_ / "bits3.txt", "%\r\nN00005Q1P00000101\r\n%\r\n");
    const std::string pmc = "%\r\n(PMC=0I-F,MSID=1)\r\nN600000 P1\r\n%\r\n";
    WriteBytes(dir_ / "p1.txt", pmc);
    WriteBytes(dir_ / "p2.txt", pmc);
    WriteBytes(dir_ / "p3.txt", "%\r\n(PMC=0I-F,MSID=2)\r\nN600000 P1\r\n%\r\n");
    WriteBytes(dir_ / "p4.txt", "%\r\n(PMC=0I-F,MSID=1)\r\n(ABC)\r\nN600000 P1\r\n%\r\n");
  }
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  InFolder in_{dir_.path()};
};

}  // namespace habuki::test
