#include "codec/Bildspeicher.h"

#include <QTest>

#include <cstdint>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool mitAsan = true;
#else
constexpr bool mitAsan = false;
#endif

std::uintptr_t adresse(const QImage& bild) { return reinterpret_cast<std::uintptr_t>(bild.constBits()); }

} // namespace

class TestBildspeicher : public QObject {
    Q_OBJECT
private slots:
    void init() { bildspeicher::freigeben(); }

    void bilderSindBeschreibbarUndUnabhaengig()
    {
        QImage a = bildspeicher::rgb32(1000, 700);
        QImage b = bildspeicher::rgb32(1000, 700);
        QCOMPARE(a.size(), QSize(1000, 700));
        QCOMPARE(a.format(), QImage::Format_RGB32);
        QCOMPARE(a.bytesPerLine(), qsizetype(4000));
        a.fill(qRgb(10, 20, 30));
        b.fill(qRgb(200, 100, 0));
        QCOMPARE(a.pixel(999, 699), qRgb(10, 20, 30));
        // A copy shares until written, then has its own pixels.
        QImage c = a;
        c.setPixel(0, 0, qRgb(1, 2, 3));
        QCOMPARE(a.pixel(0, 0), qRgb(10, 20, 30));
        QVERIFY(bildspeicher::rgb32(0, 10).isNull());
        QCOMPARE(bildspeicher::rgb32(10, 10).size(), QSize(10, 10));
    }

    // A block given back serves the next picture of about its size, without new pages.
    void bloeckeWerdenWiederverwendet()
    {
        if (mitAsan)
            QSKIP("the sanitizer build gives every picture its own heap block");
        const bildspeicher::Stand anfang = bildspeicher::stand();
        std::uintptr_t erste = 0;
        {
            const QImage bild = bildspeicher::rgb32(3000, 2000);
            erste = adresse(bild);
            // Placed on a 2 MB boundary, so that large pages can back all of it.
            QCOMPARE(erste % (2u << 20), std::uintptr_t(0));
        }
        QCOMPARE(bildspeicher::stand().gehalten, std::size_t(24) << 20); // 24 MB, rounded up to 2 MB pages
        {
            const QImage kleiner = bildspeicher::rgb32(1000, 1000); // 4 MB: the kept block is too large to waste on it
            QVERIFY(adresse(kleiner) != erste);
            const QImage gleich = bildspeicher::rgb32(3000, 2000);
            QCOMPARE(adresse(gleich), erste);
        }
        const bildspeicher::Stand ende = bildspeicher::stand();
        QCOMPARE(ende.wiederverwendet - anfang.wiederverwendet, 1LL);
        QCOMPARE(ende.neuAngelegt - anfang.neuAngelegt, 2LL);

        // The file bytes of the next load take a kept block the same way.
        {
            const bildspeicher::Block block(12u << 20);
            QVERIFY(!block.isNull());
            block.daten()[(12u << 20) - 1] = 7;
        }
        QCOMPARE(bildspeicher::stand().wiederverwendet - anfang.wiederverwendet, 2LL);

        // A first view may take a kept block, but its own goes straight back to the system.
        const std::size_t vorher = bildspeicher::stand().gehalten;
        {
            const QImage ansicht = bildspeicher::rgb32(1410, 793, false);
            QCOMPARE(ansicht.size(), QSize(1410, 793));
        }
        QCOMPARE(bildspeicher::stand().gehalten, vorher);
        QCOMPARE(bildspeicher::stand().wiederverwendet - anfang.wiederverwendet, 2LL);
    }

    // What is kept stays below its bound; blocks beyond it go back to the system.
    void gehaltenesBleibtBegrenzt()
    {
        if (mitAsan)
            QSKIP("the sanitizer build gives every picture its own heap block");
        {
            // Untouched, these cost address space only.
            std::vector<bildspeicher::Block> bloecke;
            for (int i = 0; i < 4; ++i)
                bloecke.emplace_back(std::size_t(100) << 20);
            bloecke.emplace_back(bildspeicher::behaltenBis + 1);
            for (const auto& b : bloecke)
                QVERIFY(!b.isNull());
        }
        QCOMPARE(bildspeicher::stand().gehalten, std::size_t(200) << 20);
        bildspeicher::freigeben();
        QCOMPARE(bildspeicher::stand().gehalten, std::size_t(0));
    }
};

QTEST_MAIN(TestBildspeicher)
#include "test_bildspeicher.moc"
