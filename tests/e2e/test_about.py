"""The about box counts down from 5 to 0 in its own text and closes itself."""
import subprocess

from quimbrel_e2e import QuimbrelCase, gbk_hex, main, parse_record

ABOUT = 108  # 关于(&Y)
TEXT_ID = 0xFFFF


def opening():
    return gbk_hex('Dastrow\r\n\r\n QQ：380114527')


def tick(n):
    return gbk_hex(f'Dastrow   ({n})\r\n\r\n QQ：380114527')


class AboutBox(QuimbrelCase):
    def watch(self):
        """Starts watching for the box before it opens, so the opening text is seen too."""
        return subprocess.Popen(['wine', self.probe.exe, 'watch', gbk_hex('关于作者'), str(TEXT_ID), '30000'],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)

    def texts(self, watcher):
        out, _ = watcher.communicate(timeout=60)
        lines = [line.rstrip('\r') for line in out.splitlines() if line.strip()]
        self.assertTrue(lines and lines[-1] == 'gone=1', f'the box did not close by itself: {lines[-3:]}')
        return [parse_record(line)['text'] for line in lines if line.startswith('text=')]

    def assertCountsDownFrom(self, texts, first):
        # (0) is set together with the Enter key that closes the box, and lasts only until
        # the box's loop takes that key: from outside it may be seen or not. The win32
        # tier reads it in-process.
        if texts and texts[-1] == tick(0):
            texts = texts[:-1]
        self.assertEqual(texts, [opening()] + [tick(n) for n in range(first, 0, -1)])

    def test_counts_down_and_closes_by_itself(self):
        hwnd = self.start()
        watcher = self.watch()
        self.probe.run('command', hwnd, ABOUT)
        self.assertCountsDownFrom(self.texts(watcher), 5)
        self.assertIsNone(self.process.poll())
        # And again from the start.
        watcher = self.watch()
        self.probe.run('command', hwnd, ABOUT)
        self.assertCountsDownFrom(self.texts(watcher), 5)

    def test_closed_at_four_the_next_box_goes_on_from_three(self):
        hwnd = self.start()
        self.probe.run('command', hwnd, ABOUT)
        box = self.probe.find(caption_hex=gbk_hex('关于作者'))
        self.assertIsNotNone(box)
        children = self.probe.children(box)
        self.assertEqual([c['id'] for c in children if c['class'].lower() == 'button'], ['1'], 'OK only')
        for static in (c for c in children if c['class'].lower() == 'static' and int(c['style'], 16) & 0xF == 3):
            self.assertEqual(parse_record(self.probe.run('icon', static['child'])[0])['icon'], '0x0', 'no icon')
        # OK while it shows (4).
        self.probe.run('wait-text', box, TEXT_ID, tick(4), 20000, 1)
        self.assertEqual(self.probe.run('wait-gone', box, 10000, check=False), [])
        watcher = self.watch()
        self.probe.run('command', hwnd, ABOUT)
        self.assertCountsDownFrom(self.texts(watcher), 3)


if __name__ == '__main__':
    main()
