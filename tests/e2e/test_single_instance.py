"""A second start of the same executable tells the user and ends; a renamed copy runs."""
import os
import shutil
import subprocess
import time

from quimbrel_e2e import QuimbrelCase, gbk_hex, main, parse_record


class SingleInstance(QuimbrelCase):
    def setUp(self):
        super().setUp()
        self.others = []

    def tearDown(self):
        for other in self.others:
            if other.poll() is None:
                other.kill()
                other.wait()
        super().tearDown()

    def launch(self, name):
        other = subprocess.Popen(['wine', os.path.join(self.work, name)], cwd=self.bin,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.others.append(other)
        return other

    def main_windows(self):
        return [parse_record(line) for line in self.probe.run('list', '--class', 'WTWindow')]

    def wait_for_visible_main_windows(self, count, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            visible = [w for w in self.main_windows() if w['visible'] == '1']
            if len(visible) >= count:
                return visible
            time.sleep(0.2)
        self.fail(f'{count} main windows never showed')

    def test_second_start_shows_the_box_and_ends_with_zero(self):
        first = self.start()
        before = self.probe.window(first)
        second = self.launch('Quimbrel.exe')
        box = self.probe.find(caption_hex=gbk_hex('提示信息'))
        self.assertIsNotNone(box, 'no box from the second start')
        children = self.probe.children(box)
        text = [c for c in children if c['id'] == '65535']
        self.assertEqual(len(text), 1)
        self.assertEqual(text[0]['caption'], gbk_hex('程序已运行，请确定！'))
        buttons = [c for c in children if c['class'].lower() == 'button']
        self.assertEqual([b['id'] for b in buttons], ['1'], 'OK and nothing else')
        icons = [c for c in children if c['class'].lower() == 'static' and int(c['style'], 16) & 0xF == 0x3]
        self.assertTrue(any(parse_record(self.probe.run('icon', c['child'])[0])['icon'] != '0x0' for c in icons),
                        'the information icon is missing')

        # The second instance's window exists, hidden: it is never shown.
        windows = self.main_windows()
        self.assertEqual(len(windows), 2)
        self.assertEqual([w['hwnd'] for w in windows if w['visible'] == '1'], [first])
        self.assertEqual(self.box_owner_pid(box), [w['pid'] for w in windows if w['hwnd'] != first][0])

        self.probe.run('click', buttons[0]['child'])
        self.assertEqual(second.wait(timeout=30), 0)
        # The first runs on untouched.
        self.assertIsNone(self.process.poll())
        self.assertEqual(self.probe.window(first), before)
        self.assertEqual(self.main_windows(), [w for w in windows if w['hwnd'] == first])

    def box_owner_pid(self, box):
        return self.probe.window(box)['pid']

    def test_a_copy_under_another_name_runs_beside_it(self):
        self.start()
        shutil.copy(os.path.join(self.work, 'Quimbrel.exe'), os.path.join(self.work, 'Quimbrel2.exe'))
        copy = self.launch('Quimbrel2.exe')
        visible = self.wait_for_visible_main_windows(2)
        self.assertEqual(len({w['pid'] for w in visible}), 2)
        self.assertIsNone(self.probe.find(caption_hex=gbk_hex('提示信息'), timeout_ms=0))
        self.assertIsNone(copy.poll())
        self.assertIsNone(self.process.poll())

    def test_after_the_first_has_ended_a_new_start_runs(self):
        first = self.start()
        self.probe.run('close', first)
        self.assertEqual(self.wait_exit(), 0)
        self.start()
        self.assertIsNone(self.probe.find(caption_hex=gbk_hex('提示信息'), timeout_ms=0))


if __name__ == '__main__':
    main()
